#include "settings/DesktopEntry.h"

#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {

namespace {

// The string-value escapes of the desktop entry format.
std::string EscapeValue(std::string_view value) {
    std::string out;
    for (char c : value) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string UnescapeValue(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            switch (value[++i]) {
                case 's':
                    c = ' ';
                    break;
                case 'n':
                    c = '\n';
                    break;
                case 't':
                    c = '\t';
                    break;
                case 'r':
                    c = '\r';
                    break;
                default:
                    c = value[i];
            }
        }
        out += c;
    }
    return out;
}

std::vector<std::string> SplitTypes(std::string_view list) {
    std::vector<std::string> types;
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string_view::npos) end = list.size();
        if (end > start) types.emplace_back(list.substr(start, end - start));
        start = end + 1;
    }
    return types;
}

}  // namespace

std::string QuotedExecArgument(std::string_view argument) {
    std::string out = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        if (c == '%') out += '%';
        out += c;
    }
    return out + "\"";
}

std::optional<DesktopEntry> ReadDesktopEntry(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::optional<DesktopEntry> entry;
    bool inGroup = false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            inGroup = line == "[Desktop Entry]";
            if (inGroup && !entry) entry.emplace();
            continue;
        }
        if (!inGroup) continue;
        size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string key = line.substr(0, equals);
        while (!key.empty() && key.back() == ' ') key.pop_back();
        std::string_view raw = std::string_view(line).substr(equals + 1);
        while (!raw.empty() && raw.front() == ' ') raw.remove_prefix(1);
        if (key == "Name")
            entry->Name = UnescapeValue(raw);
        else if (key == "Exec")
            entry->Exec = UnescapeValue(raw);
        else if (key == "MimeType")
            entry->MimeTypes = SplitTypes(raw);
        else if (key == "NoDisplay")
            entry->NoDisplay = raw == "true";
    }
    return entry;
}

bool WriteDesktopEntry(const std::string& path, const DesktopEntry& entry) {
    std::string text = "[Desktop Entry]\nType=Application\n";
    text += "Name=" + EscapeValue(entry.Name) + "\n";
    text += "Exec=" + EscapeValue(entry.Exec) + "\n";
    if (!entry.MimeTypes.empty()) {
        text += "MimeType=";
        for (const std::string& type : entry.MimeTypes) text += type + ";";
        text += "\n";
    }
    if (entry.NoDisplay) text += "NoDisplay=true\n";
    text += "Terminal=false\n";

    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::string temp = path + ".tmp-XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, 0644) == 0 &&
              ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
              ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace tessaly
