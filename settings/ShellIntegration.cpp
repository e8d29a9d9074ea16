#include "settings/ShellIntegration.h"

#include "patterns/Utils.h"
#include "settings/DesktopEntry.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tessaly {

namespace {

std::string EnvironmentFolder(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    // The base directory rules ignore relative paths.
    return value && value[0] == '/' ? value : fallback;
}

std::vector<std::string> TypesOf(const std::vector<std::string>& extensions,
                                 const std::vector<std::string>& globFiles) {
    std::vector<std::string> types;
    for (const std::string& extension : extensions) {
        std::string type = MimeTypeOfExtension(extension, globFiles);
        if (!type.empty() && std::find(types.begin(), types.end(), type) == types.end())
            types.push_back(type);
    }
    return types;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Lets the desktop see new MIME associations at once. Optional: without the
// tool the entries still work after the desktop's next scan.
void UpdateDesktopDatabase(const std::string& folder) {
    if (::access(folder.c_str(), F_OK) != 0) return;
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return;
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {"update-desktop-database", "-q", folder.c_str(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, const_cast<char* const*>(argv), environ) ==
        0) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

}  // namespace

ShellEnvironment CurrentShellEnvironment() {
    const char* home = std::getenv("HOME");
    const std::string homeFolder = home ? home : "";
    ShellEnvironment environment;
    const std::string dataHome = EnvironmentFolder("XDG_DATA_HOME", homeFolder + "/.local/share");
    environment.ApplicationsFolder = dataHome + "/applications";
    environment.MimeGlobFiles.push_back(dataHome + "/mime/globs2");
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string list = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    for (const std::string& dir : SplitList(list, ":"))
        if (dir[0] == '/') environment.MimeGlobFiles.push_back(dir + "/mime/globs2");
    environment.Program = GuiProgramPath();
    return environment;
}

std::string GuiProgramPath() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "tessaly";
    std::string self(buffer, static_cast<size_t>(n));
    return self.substr(0, self.rfind('/') + 1) + "tessaly";
}

std::string ShellCommand(const std::string& program, const std::string& fieldCode) {
    return QuotedExecArgument(program) + " " + fieldCode;
}

std::string MimeTypeOfExtension(const std::string& extension,
                                const std::vector<std::string>& globFiles) {
    if (extension.empty()) return {};
    const std::string glob = "*" + extension;
    for (const std::string& file : globFiles) {
        std::ifstream in(file);
        std::string line;
        // Lines are "weight:type:glob[:flags]", highest weight first.
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::vector<std::string> fields;
            size_t start = 0;
            for (size_t colon; (colon = line.find(':', start)) != std::string::npos;
                 start = colon + 1)
                fields.push_back(line.substr(start, colon - start));
            fields.push_back(line.substr(start));
            if (fields.size() < 3) continue;
            bool caseSensitive = fields.size() > 3 && fields[3].find("cs") != std::string::npos;
            if (caseSensitive ? fields[2] == glob : EqualsIgnoringCase(fields[2], glob))
                return fields[1];
        }
    }
    return {};
}

bool RegisterShellVerb(bool enable, const std::vector<std::string>& extensions,
                       const ShellEnvironment& environment) {
    const std::string entryPath = environment.ApplicationsFolder + "/" + ShellVerbEntryFile;
    const std::string command = ShellCommand(environment.Program, "%f");
    const std::vector<std::string> types = TypesOf(extensions, environment.MimeGlobFiles);
    const std::optional<DesktopEntry> existing = ReadDesktopEntry(entryPath);
    bool ok = true;

    if (enable && !types.empty()) {
        DesktopEntry entry{ShellVerbName, command, {}, false};
        if (existing && existing->Exec == command) entry.MimeTypes = existing->MimeTypes;
        for (const std::string& type : types)
            if (!Contains(entry.MimeTypes, type)) entry.MimeTypes.push_back(type);
        if (!existing || *existing != entry) ok = WriteDesktopEntry(entryPath, entry);
    } else if (!enable && existing) {
        DesktopEntry entry = *existing;
        std::erase_if(entry.MimeTypes,
                      [&](const std::string& type) { return Contains(types, type); });
        if (entry.MimeTypes.empty())
            ok = ::unlink(entryPath.c_str()) == 0 || errno == ENOENT;
        else if (entry != *existing)
            ok = WriteDesktopEntry(entryPath, entry);
    }

    // The URL handler stays registered whatever the entry's state.
    const DesktopEntry handler{
        UrlHandlerName, ShellCommand(environment.Program, "%u"), {UrlSchemeType}, true};
    const std::string handlerPath = environment.ApplicationsFolder + "/" + UrlHandlerEntryFile;
    if (ReadDesktopEntry(handlerPath) != handler)
        ok = WriteDesktopEntry(handlerPath, handler) && ok;

    UpdateDesktopDatabase(environment.ApplicationsFolder);
    return ok;
}

int16_t ShellVerbState(const std::vector<std::string>& extensions,
                       const ShellEnvironment& environment) {
    const std::optional<DesktopEntry> entry =
        ReadDesktopEntry(environment.ApplicationsFolder + "/" + ShellVerbEntryFile);
    const std::string command = ShellCommand(environment.Program, "%f");
    int typed = 0;
    int carrying = 0;
    for (const std::string& extension : extensions) {
        std::string type = MimeTypeOfExtension(extension, environment.MimeGlobFiles);
        if (type.empty()) continue;
        ++typed;
        if (entry && entry->Exec == command && Contains(entry->MimeTypes, type)) ++carrying;
    }
    if (carrying == 0) return 0;
    return carrying >= typed ? 1 : 2;
}

}  // namespace tessaly
