#include "tests/support/settings_key_win32.h"

#include <windows.h>
#include <sddl.h>

#include "base/text.h"
#include "settings/settings_store_win32.h"

namespace {
struct MapCollector {
    std::map<std::string, std::string>& values;
    void number(const char* name, const uint32_t& field) { values[name] = std::to_string(field); }
    void text(const char* name, std::span<const char> field, SettingsAccess) {
        values[name] = std::string(fieldText(field));
    }
};
}  // namespace

void deleteSettingsKey() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, settingsKeyPath); }

void installDefaultSettingsKey() {
    deleteSettingsKey();
    HKEY key;
    RegCreateKeyA(HKEY_LOCAL_MACHINE, settingsKeyPath, &key);
    const Settings defaults;
    RegSetValueExA(key, "szDownloadModules", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(defaults.szDownloadModules),
                   DWORD(strlen(defaults.szDownloadModules) + 1));
    RegCloseKey(key);
    saveSettings(defaults);
}

void deleteSettingsValue(const char* name) {
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, settingsKeyPath, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

namespace {
// Only the key's owner, who may always change its access list, can undo this.
void setSettingsKeyAccess(const char* accessList) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, settingsKeyPath, 0, WRITE_DAC, &key) != ERROR_SUCCESS) return;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA(accessList, SDDL_REVISION_1, &descriptor, nullptr)) {
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        LocalFree(descriptor);
    }
    RegCloseKey(key);
}
}  // namespace

ReadOnlySettingsKey::ReadOnlySettingsKey() { setSettingsKeyAccess("D:P(A;;KR;;;WD)"); }

ReadOnlySettingsKey::~ReadOnlySettingsKey() { setSettingsKeyAccess("D:P(A;;KA;;;WD)"); }

std::map<std::string, std::string> settingsAsMap(const Settings& settings) {
    std::map<std::string, std::string> values;
    visitSettingsFields(settings, MapCollector{values});
    return values;
}
