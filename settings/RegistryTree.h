// An in-memory hierarchical key/value store with the registry's shape: roots,
// keys below them, typed values inside each key. The file backend keeps its
// whole store in one of these; RegistryText reads and writes it as text.
//
// Names of keys and values are matched without regard to case and stored as
// first written, as the registry does. Keys and values keep their writing
// order, which is also the order in which they are enumerated.
#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Value types, with the registry's numbers.
inline constexpr uint32_t RegNone = 0;
inline constexpr uint32_t RegText = 1;  // REG_SZ
inline constexpr uint32_t RegExpandText = 2;
inline constexpr uint32_t RegBinary = 3;
inline constexpr uint32_t RegDword = 4;

struct RegistryValue {
    std::string Name;  // "" is the key's default value
    uint32_t Type = RegText;
    // The data as a program reading the value sees it: for text, the bytes
    // followed by the terminating NUL.
    std::string Data;

    bool operator==(const RegistryValue&) const = default;
};

struct RegistryKey {
    std::string Name;
    std::vector<RegistryValue> Values;
    std::list<RegistryKey> SubKeys;  // a list, so pointers to keys stay valid

    RegistryKey* FindSubKey(std::string_view name);
    const RegistryKey* FindSubKey(std::string_view name) const;
    RegistryValue* FindValue(std::string_view name);
    const RegistryValue* FindValue(std::string_view name) const;

    bool operator==(const RegistryKey&) const = default;
};

// The components of a key path ("A\B\C"). One trailing "\" is ignored, so
// "A\B\" names the same key as "A\B"; "" is the root itself. Empty
// components, and names holding a character below 0x20 (which the text form
// cannot carry), make the path invalid: nullopt.
std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path);

// True when `name` can be stored as a value name (no character below 0x20).
bool IsStorableValueName(std::string_view name);

class RegistryTree {
public:
    // The key at `path` below the root named `root`; nullptr when it does
    // not exist or the path is invalid.
    RegistryKey* Find(std::string_view root, std::string_view path);
    const RegistryKey* Find(std::string_view root, std::string_view path) const;

    // The key at `path`, created with every missing parent; nullptr when the
    // path is invalid.
    RegistryKey* Create(std::string_view root, std::string_view path);

    // Removes the key at `path` (not a root) with everything below it.
    bool Remove(std::string_view root, std::string_view path);

    bool Empty() const { return roots_.empty(); }
    const std::list<RegistryKey>& Roots() const { return roots_; }

    bool operator==(const RegistryTree&) const = default;

private:
    std::list<RegistryKey> roots_;
};

// Text data as stored by a write: the bytes and one terminating NUL.
inline std::string TextData(std::string_view text) {
    std::string data(text);
    data += '\0';
    return data;
}

}  // namespace tessaly
