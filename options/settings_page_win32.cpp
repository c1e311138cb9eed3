// Options, Settings page: startup, the tray menu's length, the Undo Bin.

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "base/file_operations_win32.h"
#include "base/text.h"
#include "database/action_list.h"
#include "database/action_list_file_win32.h"
#include "database/history_work.h"
#include "database/undo_bin_win32.h"
#include "engine/shortcut_win32.h"
#include "options/options_rules.h"
#include "options/options_sheet_win32.h"
#include "res/resource.h"
#include "settings/settings_store_win32.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/property_sheet_win32.h"

namespace {

// Where the shell looks for programs to start at logon, for this user.
std::string startupShortcutPath() {
    char folder[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    return std::string(folder) + "\\retrace.lnk";
}

std::string programPath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

void showSpaceUsed(HWND page) {
    Settings settings;
    loadSettings(settings);
    const uint64_t mbytes = folderSize(settings.UndoBinPath) / 1000000;
    SetDlgItemTextA(page, IDC_BIN_USED, mbytes == 0 ? "< 1" : std::to_string(mbytes).c_str());
}

FolderState folderStateOf(const std::string& folder) {
    FolderState state;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return state;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        state.holdsFiles = true;
        if (equalsIgnoreCase(name, actionListFileName)) state.holdsActionList = true;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return state;
}

// Tells why a folder cannot be the Undo Bin; false when it can.
bool refused(HWND page, BinFolderChoice choice, const std::string& folder) {
    const std::string why = binFolderRefusal(choice, folder);
    if (why.empty()) return false;
    MessageBoxA(page, why.c_str(), "Undo Bin Folder", MB_OK | MB_ICONWARNING);
    return true;
}

// The folder and those above it that do not exist yet, the deepest first.
std::vector<std::string> missingFolders(const std::string& folder) {
    std::vector<std::string> missing;
    for (std::string at = folder; !at.empty() && !folderExists(at); at = at.substr(0, at.find_last_of('\\'))) {
        missing.push_back(at);
        if (at.find('\\') == std::string::npos) break;
    }
    return missing;
}

// Makes the new Undo Bin folder and the folders above it now, while the
// sheet is open: at the next start a folder that cannot be made would only
// leave the move undone. Tells why when it cannot be made.
bool binFolderMadeOrTell(HWND page, const std::string& folder) {
    // Without a window the shell asks nothing and answers the system's own error.
    const int made = SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    if (made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS || made == ERROR_FILE_EXISTS) {
        if (folderExists(folder)) return true;
    }
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, DWORD(made), 0, text,
                   sizeof text, nullptr);
    std::string reason = text;
    reason.erase(reason.find_last_not_of(" \r\n.") + 1);
    const std::string why = "The folder " + folder + " cannot be made" + (reason.empty() ? "" : ": " + reason) +
                            ".\n\nChoose a folder on a drive that exists and can be written to.";
    MessageBoxA(page, why.c_str(), "Undo Bin Folder", MB_OK | MB_ICONWARNING);
    return false;
}

void initialise(HWND page) {
    setUpPage(page);
    SendDlgItemMessageA(page, IDC_MENU_SIZE_SPIN, UDM_SETRANGE, 0, MAKELPARAM(10, 1));
    Settings settings;
    loadSettings(settings);
    CheckDlgButton(page, IDC_LOAD_AT_STARTUP, settings.LoadAtStartup ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(page, IDC_MENU_SIZE, settings.UndoMenuSize, FALSE);
    SetDlgItemInt(page, IDC_BIN_LIMIT, settings.UndoBinSize / 1000000, FALSE);
    SendDlgItemMessageA(page, IDC_BIN_FOLDER, EM_LIMITTEXT, MAX_PATH - 1, 0);
    SetDlgItemTextA(page, IDC_BIN_FOLDER, settings.UndoBinPath);
    showSpaceUsed(page);
}

void clearUndoBin(HWND page) {
    const char* question =
        "This will remove all saved actions and files from the bin, except those of the current boot session.\n\n"
        "Are you sure you want to continue?";
    if (MessageBoxA(page, question, "Empty Undo Bin", MB_YESNO | MB_ICONWARNING) != IDYES) return;
    waitForHistoryWork();
    emptyUndoBin();
    // The saved copies of the dropped records are gone: a list on disk that
    // still named them would be loaded at the next start.
    saveActionList();
    showSpaceUsed(page);
}

void browse(HWND page) {
    Settings settings;
    loadSettings(settings);
    const std::string chosen = browseForFolder(page, "Choose a folder");
    if (chosen.empty() || refused(page, chooseBinFolder(chosen, settings, folderStateOf(chosen)), chosen))
        SetDlgItemTextA(page, IDC_BIN_FOLDER, settings.UndoBinPath);
    else
        SetDlgItemTextA(page, IDC_BIN_FOLDER, chosen.c_str());
}

INT_PTR apply(HWND page) {
    Settings settings;
    loadSettings(settings);
    const std::string folder = dialogItemText(page, IDC_BIN_FOLDER);
    const BinFolderChoice choice = chooseBinFolder(folder, settings, folderStateOf(folder));
    if (refused(page, choice, folder)) return refuseApply(page);
    const std::vector<std::string> madeNow =
        choice == BinFolderChoice::Move ? missingFolders(folder) : std::vector<std::string>{};
    if (choice == BinFolderChoice::Move && !binFolderMadeOrTell(page, folder)) return refuseApply(page);

    settings.LoadAtStartup = IsDlgButtonChecked(page, IDC_LOAD_AT_STARTUP) == BST_CHECKED;
    settings.UndoMenuSize = menuSizeFromTyped(dialogItemText(page, IDC_MENU_SIZE));
    settings.UndoBinSize = binSizeFromTyped(dialogItemText(page, IDC_BIN_LIMIT));
    if (choice == BinFolderChoice::CancelMove) setFieldText(settings.UndoBinPathNew, "");
    if (choice == BinFolderChoice::Move) setFieldText(settings.UndoBinPathNew, folder);
    // The shortcut and the new folder only go with settings that were stored.
    if (!saveSettingsOrTell(page, settings)) {
        for (const std::string& made : madeNow) RemoveDirectoryA(made.c_str());
        return refuseApply(page);
    }
    const std::string shortcut = startupShortcutPath();
    if (settings.LoadAtStartup)
        createShortcut(programPath(), shortcut, "retrace");
    else if (!shortcut.empty())
        DeleteFileA(shortcut.c_str());
    return answerSheet(page, PSNRET_NOERROR);
}

}  // namespace

INT_PTR CALLBACK settingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initialise(page);
        return TRUE;
    case WM_VSCROLL:
        if (HWND(lParam) == GetDlgItem(page, IDC_MENU_SIZE_SPIN))
            SetDlgItemInt(page, IDC_MENU_SIZE, menuSizeFromTyped(dialogItemText(page, IDC_MENU_SIZE)), FALSE);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_BIN_CLEAR) clearUndoBin(page);
        if (LOWORD(wParam) == IDC_BIN_BROWSE) browse(page);
        return TRUE;
    case WM_NOTIFY:
        return answerPageNotification(page, lParam, apply, helpSettingsPage);
    }
    return FALSE;
}
