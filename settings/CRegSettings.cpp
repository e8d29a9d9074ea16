#include "settings/CRegSettings.h"

#include "engine/Host.h"

namespace tessaly {

namespace {

constexpr const char* DefaultCompany = "Brackwater";

std::string TrimSpaces(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::unique_ptr<CRegSettings> Settings;

const char* RootName(RegistryRoot root) {
    return root == RegistryRoot::ClassesRoot ? "HKEY_CLASSES_ROOT" : "HKEY_LOCAL_MACHINE";
}

CRegSettings::CRegSettings(std::unique_ptr<SettingsBackend> backend)
    : backend_(std::move(backend)), company_(DefaultCompany), appName_(AppTitle) {}

void CRegSettings::SetCompany(const std::string& company) {
    company_ = TrimSpaces(company);
    if (company_.empty()) company_ = DefaultCompany;
}

void CRegSettings::SetAppName(const std::string& appName) {
    appName_ = TrimSpaces(appName);
    if (appName_.empty()) appName_ = AppTitle;
}

}  // namespace tessaly
