// The settings store: the program's only gateway to its hierarchical key/value
// store (the registry on Windows, a text file in registry-export syntax
// elsewhere). Every call names the root and the full key path; nothing is
// kept open between calls. Failures are never raised: reads fall back to
// their defaults, writes leave the store as it was.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tessaly {

enum class RegistryRoot { LocalMachine, ClassesRoot };

// "HKEY_LOCAL_MACHINE" or "HKEY_CLASSES_ROOT".
const char* RootName(RegistryRoot root);

using SettingPair = std::pair<std::string, std::string>;  // value name, text

// Status codes of DeleteKey, as the registry numbers them.
inline constexpr int StoreSuccess = 0;
inline constexpr int StoreRefused = 1;
inline constexpr int StoreNotFound = 2;
inline constexpr int StoreAccessDenied = 5;

// A backing store. Sections are key paths below the root with "\" between
// components; one trailing "\" names the same key. A key (value name) of "*"
// or "" is the section's default value.
class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;

    // With a key: deletes that value. With "": deletes the section itself,
    // which must have no subkeys. True when something was deleted.
    virtual bool DeleteSetting(RegistryRoot root, const std::string& section,
                               const std::string& key) = 0;
    // The text values of the section in enumeration order (writing order for
    // a fresh key); values of other types are skipped.
    virtual std::vector<SettingPair> GetAllSettings(RegistryRoot root,
                                                    const std::string& section) = 0;
    virtual std::vector<std::string> GetAllSubKeys(RegistryRoot root,
                                                   const std::string& section) = 0;
    // The value's text (its data less the terminator); `fallback` when the
    // section or value is missing or the value's data is empty. An empty
    // text stored by SaveSetting reads back as "", not as the fallback.
    virtual std::string GetSetting(RegistryRoot root, const std::string& section,
                                   const std::string& key, const std::string& fallback) = 0;
    // Writes a text value, creating the section and its missing parents.
    virtual void SaveSetting(RegistryRoot root, const std::string& section, const std::string& key,
                             const std::string& setting) = 0;
    // Deletes the subkey `key` of `section` with everything below it.
    // Refused (StoreRefused, nothing deleted) when `section` is empty or has
    // no "\", so nothing less than three levels below a root goes this way.
    virtual int DeleteKey(RegistryRoot root, const std::string& section,
                          const std::string& key) = 0;

    // Runs `writes` so that the writes it makes reach the store as one
    // change, where the backend can. Returns false when they could not be
    // stored.
    virtual bool Batch(const std::function<void()>& writes) = 0;
};

class CRegSettings {
public:
    explicit CRegSettings(std::unique_ptr<SettingsBackend> backend);

    // The company and product names, from the version information. Setting
    // trims spaces; setting "" restores the default. Nothing uses them to
    // build paths: every caller passes complete sections.
    const std::string& Company() const { return company_; }
    void SetCompany(const std::string& company);
    const std::string& AppName() const { return appName_; }
    void SetAppName(const std::string& appName);

    bool DeleteSetting(RegistryRoot root, const std::string& section, const std::string& key) {
        return backend_->DeleteSetting(root, section, key);
    }
    std::vector<SettingPair> GetAllSettings(RegistryRoot root, const std::string& section) {
        return backend_->GetAllSettings(root, section);
    }
    std::vector<std::string> GetAllSubKeys(RegistryRoot root, const std::string& section) {
        return backend_->GetAllSubKeys(root, section);
    }
    std::string GetSetting(RegistryRoot root, const std::string& section, const std::string& key,
                           const std::string& fallback = "") {
        return backend_->GetSetting(root, section, key, fallback);
    }
    void SaveSetting(RegistryRoot root, const std::string& section, const std::string& key,
                     const std::string& setting) {
        backend_->SaveSetting(root, section, key, setting);
    }
    int DeleteKey(RegistryRoot root, const std::string& section, const std::string& key) {
        return backend_->DeleteKey(root, section, key);
    }
    bool Batch(const std::function<void()>& writes) { return backend_->Batch(writes); }

    SettingsBackend& Backend() { return *backend_; }

private:
    std::unique_ptr<SettingsBackend> backend_;
    std::string company_;
    std::string appName_;
};

// The store of the file at `path` (see FileSettingsBackend).
std::unique_ptr<CRegSettings> OpenFileSettings(const std::string& path);

#ifdef _WIN32
// The store of the system registry.
std::unique_ptr<CRegSettings> OpenRegistrySettings();
#endif

// The program's one store, created at start-up and kept until the process
// ends.
extern std::unique_ptr<CRegSettings> Settings;

}  // namespace tessaly
