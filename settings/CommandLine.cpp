#include "settings/CommandLine.h"

#include "engine/FileIO.h"

#include <algorithm>

namespace tessaly {

std::optional<std::string> CommandLinePath(const std::string& commandLine) {
    std::string path = commandLine;
    if (path.empty()) return std::nullopt;
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);

    constexpr std::string_view Scheme = "tessal://";
    if (path.compare(0, Scheme.size(), Scheme) == 0) path.erase(0, Scheme.size());

#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#else
    if (!PathExists(GetLongName(path))) std::replace(path.begin(), path.end(), '\\', '/');
#endif

    path = GetLongName(path);
    if (!PathExists(path)) return std::nullopt;
    return path;
}

}  // namespace tessaly
