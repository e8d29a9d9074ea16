// Helpers shared by the settings tests: a store on a temporary file, and
// environment variables set for one test.
#pragma once

#include "settings/CRegSettings.h"
#include "settings/FileSettingsBackend.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace settingstest {

inline constexpr tessaly::RegistryRoot LM = tessaly::RegistryRoot::LocalMachine;
inline constexpr tessaly::RegistryRoot CR = tessaly::RegistryRoot::ClassesRoot;

// A store on "settings.reg" in a fresh temporary folder.
struct TempStore {
    testsupport::TempDir dir;
    std::string path = dir.File("settings.reg");
    std::unique_ptr<tessaly::CRegSettings> store = tessaly::OpenFileSettings(path);

    tessaly::CRegSettings& operator*() { return *store; }
    tessaly::CRegSettings* operator->() { return store.get(); }
    // A second, independent view of the same file (another process's).
    std::unique_ptr<tessaly::CRegSettings> Reopen() const {
        return tessaly::OpenFileSettings(path);
    }
};

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace settingstest
