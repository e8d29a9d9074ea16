// The settings store over the Windows registry, through the ANSI functions.
// Built on Windows only; every key opened here is closed on every path.
#ifdef _WIN32

#include "settings/CRegSettings.h"

#include <windows.h>

namespace tessaly {

namespace {

HKEY RootHandle(RegistryRoot root) {
    return root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
}

std::string ValueName(const std::string& key) {
    return key == "*" ? std::string() : key;
}

class OpenKey {
public:
    OpenKey(RegistryRoot root, const std::string& section, REGSAM access) {
        status_ = RegOpenKeyExA(RootHandle(root), section.c_str(), 0, access, &key_);
    }
    ~OpenKey() {
        if (status_ == ERROR_SUCCESS) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    bool Ok() const { return status_ == ERROR_SUCCESS; }
    LONG Status() const { return status_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
    LONG status_ = ERROR_INVALID_HANDLE;
};

class RegistryBackend final : public SettingsBackend {
public:
    bool DeleteSetting(RegistryRoot root, const std::string& section,
                       const std::string& key) override {
        if (key.empty()) return RegDeleteKeyA(RootHandle(root), section.c_str()) == ERROR_SUCCESS;
        OpenKey open(root, section, KEY_ALL_ACCESS);
        return open.Ok() && RegDeleteValueA(open.Get(), ValueName(key).c_str()) == ERROR_SUCCESS;
    }

    std::vector<SettingPair> GetAllSettings(RegistryRoot root,
                                            const std::string& section) override {
        std::vector<SettingPair> pairs;
        OpenKey open(root, section, KEY_READ);
        DWORD nameLength = 0, dataLength = 0;
        if (!open.Ok() ||
            RegQueryInfoKeyA(open.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, &nameLength, &dataLength, nullptr, nullptr) != ERROR_SUCCESS)
            return pairs;
        for (DWORD index = 0;; ++index) {
            std::string name(nameLength + 1, '\0');
            std::string data(dataLength + 1, '\0');
            DWORD nameSize = nameLength + 1, dataSize = dataLength + 1, type = 0;
            if (RegEnumValueA(open.Get(), index, name.data(), &nameSize, nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &dataSize) != ERROR_SUCCESS)
                break;
            if (type != REG_SZ) continue;
            name.resize(nameSize);
            data.resize(dataSize > 0 ? dataSize - 1 : 0);
            pairs.emplace_back(std::move(name), std::move(data));
        }
        return pairs;
    }

    std::vector<std::string> GetAllSubKeys(RegistryRoot root, const std::string& section) override {
        std::vector<std::string> names;
        OpenKey open(root, section, KEY_READ);
        DWORD count = 0, longest = 0;
        if (!open.Ok() ||
            RegQueryInfoKeyA(open.Get(), nullptr, nullptr, nullptr, &count, &longest, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return names;
        for (DWORD index = 0; count > 0; ++index) {
            std::string name(longest + 1, '\0');
            DWORD size = longest + 1;
            if (RegEnumKeyExA(open.Get(), index, name.data(), &size, nullptr, nullptr, nullptr,
                              nullptr) != ERROR_SUCCESS)
                break;
            name.resize(size);
            names.push_back(std::move(name));
        }
        return names;
    }

    std::string GetSetting(RegistryRoot root, const std::string& section, const std::string& key,
                           const std::string& fallback) override {
        OpenKey open(root, section, KEY_ALL_ACCESS);
        if (!open.Ok()) return fallback;
        const std::string name = ValueName(key);
        DWORD size = 0;
        if (RegQueryValueExA(open.Get(), name.c_str(), nullptr, nullptr, nullptr, &size) !=
                ERROR_SUCCESS ||
            size == 0)
            return fallback;
        std::string data(size, '\0');
        if (RegQueryValueExA(open.Get(), name.c_str(), nullptr, nullptr,
                             reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS ||
            size == 0)
            return fallback;
        data.resize(size - 1);
        return data;
    }

    void SaveSetting(RegistryRoot root, const std::string& section, const std::string& key,
                     const std::string& setting) override {
        HKEY handle = nullptr;
        if (RegCreateKeyExA(RootHandle(root), section.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &handle, nullptr) != ERROR_SUCCESS)
            return;
        RegSetValueExA(handle, ValueName(key).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(setting.c_str()),
                       static_cast<DWORD>(setting.size() + 1));
        RegCloseKey(handle);
    }

    int DeleteKey(RegistryRoot root, const std::string& section, const std::string& key) override {
        if (section.empty() || section.find('\\') == std::string::npos) return StoreRefused;
        std::string path = section;
        if (path.back() != '\\') path += '\\';
        path += key;
        {
            OpenKey open(root, section, KEY_ALL_ACCESS);
            if (!open.Ok()) return static_cast<int>(open.Status());
        }
        // Depth-first: the registry deletes only keys without subkeys.
        for (const std::string& child : GetAllSubKeys(root, path)) DeleteKey(root, path, child);
        OpenKey open(root, section, KEY_ALL_ACCESS);
        if (!open.Ok()) return static_cast<int>(open.Status());
        return static_cast<int>(RegDeleteKeyA(open.Get(), key.c_str()));
    }

    // Registry writes are individually atomic; there is nothing to group.
    bool Batch(const std::function<void()>& writes) override {
        writes();
        return true;
    }
};

}  // namespace

std::unique_ptr<CRegSettings> OpenRegistrySettings() {
    return std::make_unique<CRegSettings>(std::make_unique<RegistryBackend>());
}

}  // namespace tessaly

#endif
