#include "settings/RegistryTree.h"

#include "patterns/Utils.h"

#include <algorithm>

namespace tessaly {

namespace {

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

template <typename Key>
Key* FindIn(std::list<RegistryKey>& keys, std::string_view name) {
    for (RegistryKey& key : keys)
        if (EqualsIgnoringCase(key.Name, name)) return &key;
    return nullptr;
}

}  // namespace

RegistryKey* RegistryKey::FindSubKey(std::string_view name) {
    return FindIn<RegistryKey>(SubKeys, name);
}

const RegistryKey* RegistryKey::FindSubKey(std::string_view name) const {
    return const_cast<RegistryKey*>(this)->FindSubKey(name);
}

RegistryValue* RegistryKey::FindValue(std::string_view name) {
    for (RegistryValue& value : Values)
        if (EqualsIgnoringCase(value.Name, name)) return &value;
    return nullptr;
}

const RegistryValue* RegistryKey::FindValue(std::string_view name) const {
    return const_cast<RegistryKey*>(this)->FindValue(name);
}

std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path) {
    if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    std::vector<std::string> parts;
    if (path.empty()) return parts;
    size_t start = 0;
    while (true) {
        size_t at = path.find('\\', start);
        std::string_view part = path.substr(start, at == std::string_view::npos ? at : at - start);
        if (part.empty() || HasControlCharacter(part)) return std::nullopt;
        parts.emplace_back(part);
        if (at == std::string_view::npos) break;
        start = at + 1;
    }
    return parts;
}

bool IsStorableValueName(std::string_view name) {
    return !HasControlCharacter(name);
}

RegistryKey* RegistryTree::Find(std::string_view root, std::string_view path) {
    auto parts = SplitKeyPath(path);
    if (!parts) return nullptr;
    RegistryKey* key = FindIn<RegistryKey>(roots_, root);
    for (const std::string& part : *parts) {
        if (!key) return nullptr;
        key = key->FindSubKey(part);
    }
    return key;
}

const RegistryKey* RegistryTree::Find(std::string_view root, std::string_view path) const {
    return const_cast<RegistryTree*>(this)->Find(root, path);
}

RegistryKey* RegistryTree::Create(std::string_view root, std::string_view path) {
    auto parts = SplitKeyPath(path);
    if (!parts || root.empty() || HasControlCharacter(root)) return nullptr;
    RegistryKey* key = FindIn<RegistryKey>(roots_, root);
    if (!key) key = &roots_.emplace_back(RegistryKey{std::string(root), {}, {}});
    for (const std::string& part : *parts) {
        RegistryKey* child = key->FindSubKey(part);
        if (!child) child = &key->SubKeys.emplace_back(RegistryKey{part, {}, {}});
        key = child;
    }
    return key;
}

bool RegistryTree::Remove(std::string_view root, std::string_view path) {
    auto parts = SplitKeyPath(path);
    if (!parts || parts->empty()) return false;
    std::string leaf = parts->back();
    parts->pop_back();
    RegistryKey* parent = FindIn<RegistryKey>(roots_, root);
    for (const std::string& part : *parts) {
        if (!parent) return false;
        parent = parent->FindSubKey(part);
    }
    if (!parent) return false;
    auto it =
        std::find_if(parent->SubKeys.begin(), parent->SubKeys.end(),
                     [&](const RegistryKey& key) { return EqualsIgnoringCase(key.Name, leaf); });
    if (it == parent->SubKeys.end()) return false;
    parent->SubKeys.erase(it);
    return true;
}

}  // namespace tessaly
