// The setup program run silently, as an administrator deploys it, in a Wine
// prefix on which nothing of Retrace's has been (run_in_fresh_prefix); then
// Retrace as installed, and the uninstaller.

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <vector>

#include "base/file_operations_win32.h"
#include "base/text.h"
#include "engine/shortcut_win32.h"
#include "settings/settings_store_win32.h"
#include "tests/e2e/automation_win32.h"
#include "tests/support/settings_key_win32.h"
#include "tests/support/shell_link_win32.h"

namespace {

std::string shellFolder(int folder) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

const std::string installed = shellFolder(CSIDL_PROGRAM_FILES) + "\\Retrace";
const std::string startupShortcut = shellFolder(CSIDL_STARTUP) + "\\retrace.lnk";

DWORD runToEnd(const std::string& program, const std::string& arguments) {
    ChildProcess process(program, arguments);
    return process.waitForExit(120000);
}

// Every value of the key, each read over a value it differs from, so that a
// value missing from the key shows.
std::map<std::string, std::string> storedValues() {
    struct Distinct {
        void number(const char*, uint32_t& field) { field = 0xDEADBEEF; }
        void text(const char*, std::span<char> field, SettingsAccess) { setFieldText(field, "missing"); }
    };
    Settings settings;
    visitSettingsFields(settings, Distinct{});
    loadSettings(settings);
    return settingsAsMap(settings);
}

// Whether the key's access list allows the Users group to set values.
bool usersMaySetSettings() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, settingsKeyPath, 0, READ_CONTROL, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    std::vector<BYTE> descriptor(size);
    const bool read = RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor.data(), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    BOOL present = FALSE, defaulted = FALSE;
    PACL access = nullptr;
    if (!read || !GetSecurityDescriptorDacl(descriptor.data(), &present, &access, &defaulted) || !access) return false;
    BYTE users[SECURITY_MAX_SID_SIZE];
    DWORD usersSize = sizeof users;
    CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &usersSize);
    for (DWORD i = 0; i < access->AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(access, i, &entry) || static_cast<ACE_HEADER*>(entry)->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        if (EqualSid(&allowed->SidStart, users) && (allowed->Mask & KEY_SET_VALUE)) return true;
    }
    return false;
}

// What starts the change recorder at logon; empty when nothing does.
std::string recorderAtLogon() {
    char command[MAX_PATH * 2] = "";
    DWORD size = sizeof command;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "RetraceRecorder",
                     RRF_RT_REG_SZ, nullptr, command, &size) != ERROR_SUCCESS)
        return "";
    return command;
}

// The settings value as the key holds it, unexpanded.
std::string rawSetting(const char* name) {
    char text[MAX_PATH * 2] = "";
    DWORD size = sizeof text;
    RegGetValueA(HKEY_LOCAL_MACHINE, settingsKeyPath, name, RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

std::string expanded(const std::string& text) {
    char path[MAX_PATH * 2] = "";
    ExpandEnvironmentStringsA(text.c_str(), path, sizeof path);
    return path;
}

// The values the installation writes, as the program reads them.
std::map<std::string, std::string> installedAsRead(const Settings& installed) {
    auto values = settingsAsMap(installed);
    values["UndoBinPath"] = expanded(installed.UndoBinPath);
    return values;
}

// The uninstaller runs on from a copy of itself once it has started, and
// removes the program's folder last.
bool uninstalled() {
    return waitUntil([] { return !folderExists(installed); }, 60000);
}

// What was on screen and running when Retrace did not end: a box left open,
// or an uninstaller that never asked.
std::string whatStillRuns() {
    std::string seen = "windows:";
    EnumWindows(
        [](HWND window, LPARAM text) {
            if (!IsWindowVisible(window)) return TRUE;
            char name[128] = "", title[256] = "";
            GetClassNameA(window, name, sizeof name);
            GetWindowTextA(window, title, sizeof title);
            *reinterpret_cast<std::string*>(text) += std::string(" [") + name + " \"" + title + "\"]";
            return TRUE;
        },
        LPARAM(&seen));
    seen += "\nprocesses:";
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 process{};
    process.dwSize = sizeof process;
    for (BOOL more = Process32First(snapshot, &process); more; more = Process32Next(snapshot, &process))
        seen += std::string(" ") + process.szExeFile;
    CloseHandle(snapshot);
    return seen;
}

}  // namespace

TEST(Installer, InstallsWithTheDefaultsRunsFromItsFolderAndItsUninstallerEndsAndRemovesIt) {
    ASSERT_EQ(runToEnd(windowsPath(RETRACE_SETUP_EXE), "/S /STARTUP"), 0u);
    for (const char* file : {"retrace.exe", "retrace-recorder.exe", "software.txt", "version.dat", "manual\\index.html",
                             "manual\\images\\options-settings.png", "uninstall.exe"})
        EXPECT_TRUE(fileExists(installed + "\\" + file)) << file;
    Settings defaults;
    defaults.LoadAtStartup = 1;  // chosen with /STARTUP
    EXPECT_EQ(storedValues(), installedAsRead(defaults));
    EXPECT_TRUE(usersMaySetSettings());
    // Each user's own bin, made by Retrace at its start: none is shared.
    EXPECT_EQ(rawSetting("UndoBinPath"), "%LOCALAPPDATA%\\Retrace\\Undo Bin");
    const std::string bin = expanded(defaults.UndoBinPath);
    EXPECT_EQ(bin.find('%'), std::string::npos) << bin;
    EXPECT_FALSE(folderExists(bin));
    EXPECT_FALSE(folderExists("C:\\Retrace"));
    // The very shortcut "Load program at startup" writes.
    const std::string expected = installed + "\\expected.lnk";
    createShortcut(installed + "\\retrace.exe", expected, "retrace");
    EXPECT_EQ(readLink(startupShortcut), readLink(expected));
    DeleteFileA(expected.c_str());
    EXPECT_EQ(recorderAtLogon(), "\"" + installed + "\\retrace-recorder.exe\"");

    ChildProcess retrace(installed + "\\retrace.exe", "");
    HWND mainWindow = waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_TRUE(waitUntil([&] { return trayIconPresent(mainWindow); }));
    EXPECT_TRUE(waitUntil([&] { return fileExists(bin + "\\actionlist.000"); }));

    ASSERT_EQ(runToEnd(installed + "\\uninstall.exe", "/S"), 0u);
    EXPECT_EQ(retrace.waitForExit(30000), 0u) << whatStillRuns();  // ended by "UNLOAD", not killed
    EXPECT_TRUE(uninstalled());
    EXPECT_FALSE(fileExists(startupShortcut));
    EXPECT_EQ(recorderAtLogon(), "");
    HKEY key;
    EXPECT_NE(RegOpenKeyA(HKEY_LOCAL_MACHINE, settingsKeyPath, &key), ERROR_SUCCESS);
    EXPECT_TRUE(folderExists(bin));  // the user's saved copies stay
}

TEST(Installer, WithoutStartupChosenWritesNoStartupShortcut) {
    ASSERT_EQ(runToEnd(windowsPath(RETRACE_SETUP_EXE), "/S"), 0u);
    EXPECT_EQ(storedValues(), installedAsRead(Settings{}));
    EXPECT_TRUE(fileExists(installed + "\\retrace.exe"));
    EXPECT_FALSE(fileExists(startupShortcut));
    EXPECT_EQ(recorderAtLogon(), "");
    ASSERT_EQ(runToEnd(installed + "\\uninstall.exe", "/S"), 0u);
    EXPECT_TRUE(uninstalled());
}
