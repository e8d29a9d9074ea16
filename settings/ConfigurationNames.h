// The names of the configuration's values as a user spells them on the
// command line: a base-key value by its name ("CopyBuffer"), a value below
// the base key by its key path and name joined with "\" ("View\Window X",
// "FileByTags\0", "Macros\F2\Macro"). Case-sensitive, exactly as stored.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct ValueLocation {
    std::string Section;  // the full key path below HKEY_LOCAL_MACHINE
    std::string Name;     // the value's name in it
};

// Where the value called `name` lives; nullopt when the configuration has no
// value of that name.
std::optional<ValueLocation> ConfigurationValueLocation(std::string_view name);

// The names of the base key's values, in load order ("LastFolder" last).
const std::vector<std::string>& BaseValueNames();

}  // namespace tessaly
