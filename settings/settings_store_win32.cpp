#include "settings/settings_store_win32.h"

#include <windows.h>

#include <string>

#include "monitor/monitor_devices_win32.h"
#include "settings/settings_lists.h"

namespace {

struct RegistryReader {
    HKEY key;

    void number(const char* name, uint32_t& field) const {
        DWORD value = 0, size = sizeof value;
        if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) ==
                ERROR_SUCCESS &&
            size == sizeof value)
            field = value;
    }

    // A value longer than its field is left out, like a missing one; a value
    // that fills the field without a terminator is cut by one character
    // rather than read past its end later.
    void text(const char* name, std::span<char> field, SettingsAccess) const {
        std::string value(field.size(), '\0');
        DWORD size = DWORD(value.size());
        if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()), &size) !=
            ERROR_SUCCESS)
            return;
        value.resize(size);
        setFieldText(field, fieldText(value));
    }
};

struct RegistryWriter {
    HKEY key;

    void number(const char* name, const uint32_t& field) const {
        DWORD value = field;
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }

    void text(const char* name, std::span<const char> field, SettingsAccess access) const {
        if (access == SettingsAccess::ReadOnly) return;
        std::string_view value = fieldText(field);
        std::string terminated(value);
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(terminated.c_str()),
                       DWORD(terminated.size() + 1));
    }
};

// Windows NT refuses a restart to a process that has not enabled the
// shutdown privilege, which would make Yes do nothing.
void enableShutdownPrivilege() {
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
}

}  // namespace

void loadSettings(Settings& settings) {
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, settingsKeyPath, &key) != ERROR_SUCCESS) return;
    visitSettingsFields(settings, RegistryReader{key});
    RegCloseKey(key);
}

void saveSettings(const Settings& settings) {
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, settingsKeyPath, &key) == ERROR_SUCCESS) {
        visitSettingsFields(settings, RegistryWriter{key});
        RegCloseKey(key);
    }
    stopLogging();
    startLogging(StartMode::IfEnabled);
}

void applyPendingBinMove() {
    Settings settings;
    loadSettings(settings);
    if (settings.UndoBinPathNew[0] != '\0') {
        setFieldText(settings.UndoBinPath, fieldText(settings.UndoBinPathNew));
        settings.UndoBinPathNew[0] = '\0';
    }
    saveSettings(settings);
}

void offerReboot(const char* message) {
    std::string prompt = std::string(message) + "\n\nReboot Now?";
    if (prompt.size() > 1024) prompt.resize(1024);
    if (MessageBoxA(nullptr, prompt.c_str(), "Reboot Now?", MB_YESNO) == IDYES) requestReboot();
}

void requestReboot() {
    enableShutdownPrivilege();
    ExitWindowsEx(EWX_REBOOT, 0);
}
