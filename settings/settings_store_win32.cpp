#include "settings/settings_store_win32.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"

namespace {

// The Undo Bin folders may be written with environment variables, as the
// installation's "%LOCALAPPDATA%\Retrace\Undo Bin" is: one folder of each
// user's own. They are read expanded for the user the program runs as, and
// saved as written while they still stand for the same folder.
constexpr const char* folderValueNames[] = {"UndoBinPath", "UndoBinPathNew"};

bool isFolderValue(const char* name) {
    for (const char* folderName : folderValueNames)
        if (std::strcmp(name, folderName) == 0) return true;
    return false;
}

// The text with its environment variables expanded; the text itself when
// that fails. Unknown variables stay as written.
std::string expandedText(const std::string& text) {
    DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    std::string expanded(size, '\0');
    if (size == 0 || ExpandEnvironmentStringsA(text.c_str(), expanded.data(), size) != size) return text;
    expanded.resize(size - 1);
    return expanded;
}

// A folder field expanded; left as it was when the expanded folder does not
// fit, like any value too long for its field.
void expandFolderField(std::span<char> field) {
    std::string expanded = expandedText(std::string(fieldText(field)));
    if (expanded.size() < field.size()) setFieldText(field, expanded);
}

std::string rawText(HKEY key, const char* name) {
    char value[1024] = "";
    DWORD size = sizeof value - 1;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
        return {};
    return std::string(value, strnlen(value, size));
}

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
    std::vector<std::string> folderTexts;  // the folder values as the key holds them before the save
    bool failed = false;

    void number(const char* name, const uint32_t& field) {
        DWORD value = field;
        write(name, REG_DWORD, &value, sizeof value);
    }

    void text(const char* name, std::span<const char> field, SettingsAccess access) {
        if (access == SettingsAccess::ReadOnly) return;
        std::string terminated(fieldText(field));
        if (isFolderValue(name)) terminated = asWritten(terminated);
        write(name, REG_SZ, terminated.c_str(), DWORD(terminated.size() + 1));
    }

    // The key's own text for a folder it already names, variables and all.
    std::string asWritten(const std::string& folder) const {
        for (const std::string& text : folderTexts)
            if (text.find('%') != std::string::npos && equalsIgnoreCase(expandedText(text), folder)) return text;
        return folder;
    }

    void write(const char* name, DWORD type, const void* data, DWORD size) {
        if (RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS) failed = true;
    }
};

SettingsSave writeSettings(const Settings& settings) {
    HKEY key;
    // Opened for writing at once, so that a key the user may only read
    // refuses before any value of the record is written.
    const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, settingsKeyPath, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND) return SettingsSave::NoKey;
    if (opened != ERROR_SUCCESS) return SettingsSave::Refused;
    RegistryWriter writer{key, {}};
    for (const char* name : folderValueNames) writer.folderTexts.push_back(rawText(key, name));
    visitSettingsFields(settings, writer);
    RegCloseKey(key);
    return writer.failed ? SettingsSave::Refused : SettingsSave::Stored;
}

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
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, settingsKeyPath, &key) == ERROR_SUCCESS) {
        visitSettingsFields(settings, RegistryReader{key});
        RegCloseKey(key);
    }
    // The defaults a missing key leaves are expanded too.
    expandFolderField(settings.UndoBinPath);
    expandFolderField(settings.UndoBinPathNew);
}

namespace {
std::function<void()> settingsSaved;
}  // namespace

void whenSettingsSaved(std::function<void()> afterSave) { settingsSaved = std::move(afterSave); }

SettingsSave saveSettings(const Settings& settings) {
    const SettingsSave saved = writeSettings(settings);
    if (settingsSaved) settingsSaved();
    return saved;
}

bool saveSettingsOrTell(HWND owner, const Settings& settings) {
    if (saveSettings(settings) != SettingsSave::Refused) return true;
    MessageBoxA(owner,
                "Windows refused to let Retrace write its settings to the registry, so your change was not saved.\n\n"
                "Run Retrace's setup program again as an administrator: it lets every user of this computer "
                "change Retrace's settings.",
                "Settings Not Saved", MB_OK | MB_ICONWARNING);
    return false;
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
