#include "patterns/Utils.h"

#include "engine/Host.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#ifdef _WIN32
#include <shlobj.h>
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace tessaly {

std::string MixedCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    char32_t before = 0;
    for (size_t at = 0; at < text.size();) {
        const TextCharacter c = CharacterAt(text, at);
        const bool wordStart =
            at == 0 || before == ' ' || before == '{' || before == '(' || before == '[';
        AppendMapped(out, text, at, c, wordStart ? UpperCaseOf(c.code) : LowerCaseOf(c.code));
        before = c.code;
        at += c.length;
    }
    return out;
}

AudioFileData MixedCaseAll(const AudioFileData& record) {
    AudioFileData out = record;
    for (std::string* field :
         {&out.ID3v1.Artist, &out.ID3v1.Title, &out.ID3v1.Album, &out.ID3v1.Comment,
          &out.ID3v2.Artist, &out.ID3v2.Title, &out.ID3v2.Album, &out.ID3v2.Comment,
          &out.ID3v2.Genre, &out.ID3v2.Composer, &out.ID3v2.OriginalArtist, &out.ID3v2.Copyright,
          &out.ID3v2.EncodedBy})
        *field = MixedCase(*field);
    return out;
}

std::string LegalFileName(std::string_view name, bool renameSpace,
                          std::string_view renameSpaceChar) {
    static constexpr std::string_view forbidden{"\"|>*\\/:?<\0", 10};
    const std::string_view replacement = renameSpace ? renameSpaceChar : std::string_view(" ");
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (forbidden.find(c) != std::string_view::npos)
            out += replacement;
        else
            out += c;
    }
    return out;
}

bool HasListedExtension(std::string_view path, const std::vector<std::string>& extensions) {
    for (const std::string& extension : extensions) {
        if (extension.empty() || extension.size() > path.size()) continue;
        if (EqualsIgnoringCase(path.substr(path.size() - extension.size()), extension)) return true;
    }
    return false;
}

std::vector<std::string> SplitList(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    if (separator.empty()) {
        if (!text.empty()) pieces.emplace_back(text);
        return pieces;
    }
    size_t start = 0;
    while (start <= text.size()) {
        size_t at = text.find(separator, start);
        if (at == std::string_view::npos) at = text.size();
        if (at > start) pieces.emplace_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    return pieces;
}

std::string JoinList(const std::vector<std::string>& items, std::string_view separator) {
    std::string joined;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) joined += separator;
        joined += items[i];
    }
    if (separator.empty()) return joined;

    const std::string doubled = std::string(separator) + std::string(separator);
    for (size_t at = joined.find(doubled); at != std::string::npos; at = joined.find(doubled, at))
        joined.erase(at, separator.size());
    if (joined.size() >= separator.size() &&
        joined.compare(joined.size() - separator.size(), separator.size(), separator) == 0)
        joined.erase(joined.size() - separator.size());
    return joined;
}

#ifdef _WIN32

std::string SpecialFolderPath(int folderId) {
    char buffer[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, folderId, nullptr, 0, buffer))) return {};
    return buffer;
}

int16_t WindowsVersionId(WindowsVersion* version) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma warning(suppress : 4996)
    if (!GetVersionExA(&info)) info = OSVERSIONINFOA{};
    WindowsVersion v{
        static_cast<int16_t>(info.dwMajorVersion), static_cast<int16_t>(info.dwMinorVersion),
        static_cast<int16_t>(info.dwBuildNumber), static_cast<int16_t>(info.dwPlatformId)};
    if (version) *version = v;
    return WindowsVersionIdOf(v.Platform, v.Major, v.Minor);
}

#else

namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return {};
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// The DESKTOP line of user-dirs.dirs: XDG_DESKTOP_DIR="$HOME/Desktop" or an
// absolute path in double quotes, with \" and \\ escapes as the shell reads it.
std::string DesktopFromUserDirs(const std::string& home) {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    std::string folder = configHome && *configHome == '/' ? configHome : home + "/.config";
    std::ifstream in(folder + "/user-dirs.dirs");
    std::string line;
    while (std::getline(in, line)) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, 16, "XDG_DESKTOP_DIR=") != 0)
            continue;
        std::string_view value = std::string_view(line).substr(start + 16);
        if (value.size() < 2 || value.front() != '"') continue;
        size_t close = value.rfind('"');
        if (close == 0) continue;
        std::string path;
        for (size_t i = 1; i < close; ++i) {
            if (value[i] == '\\' && i + 1 < close) ++i;
            path += value[i];
        }
        if (path.compare(0, 5, "$HOME") == 0) path = home + path.substr(5);
        if (path.empty() || path.front() != '/') continue;
        return WithoutTrailingSlash(path);
    }
    return {};
}

}  // namespace

std::string SpecialFolderPath(int folderId) {
    if (folderId != DesktopFolderId && folderId != DesktopDirectoryFolderId) return {};
    std::string home = HomeFolder();
    if (home.empty()) return {};
    std::string desktop = DesktopFromUserDirs(home);
    return desktop.empty() ? WithoutTrailingSlash(home) + "/Desktop" : desktop;
}

int16_t WindowsVersionId(WindowsVersion* version) {
    if (version) *version = WindowsVersion{};
    return 0;
}

#endif

int16_t WindowsVersionIdOf(int16_t platform, int16_t major, int16_t minor) {
    struct Row {
        int16_t platform, major, minor, id;
    };
    static constexpr Row rows[] = {{1, 4, 0, 1}, {1, 4, 10, 2}, {1, 4, 90, 3}, {2, 3, 51, 4},
                                   {2, 4, 0, 5}, {2, 5, 0, 6},  {2, 5, 1, 7}};
    for (const Row& row : rows)
        if (row.platform == platform && row.major == major && row.minor == minor) return row.id;
    return 0;
}

void Pause(int tenths) {
    for (int i = 0; i < tenths; ++i) {
        for (int half = 0; half < 2; ++half) {
            CurrentHost().ProcessPendingMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
}

}  // namespace tessaly
