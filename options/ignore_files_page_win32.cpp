// Options, Ignore Files page: single files and folders the monitors leave alone.

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <string>

#include "base/text.h"
#include "options/options_sheet_win32.h"
#include "res/resource.h"
#include "settings/settings_store_win32.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/property_sheet_win32.h"

namespace {

void initialise(HWND page) {
    setUpPage(page);
    Settings settings;
    loadSettings(settings);
    for (const std::string& path : splitList(settings.szIgnorePaths))
        addListBoxItem(page, IDC_IGNORE_PATHS, toLowerAscii(path));
}

// The file dialog's library is loaded when first asked for: it brings the
// printing system with it, megabytes that a program living in the
// notification area should not hold for a dialog seldom opened.
bool askForFile(OPENFILENAMEA& request) {
    using OpenDialog = BOOL(WINAPI*)(OPENFILENAMEA*);
    static const OpenDialog open = [] {
        HMODULE dialogs = LoadLibraryA("comdlg32.dll");
        return dialogs ? reinterpret_cast<OpenDialog>(reinterpret_cast<void*>(GetProcAddress(dialogs, "GetOpenFileNameA")))
                       : nullptr;
    }();
    return open && open(&request);
}

void addFile(HWND page) {
    char path[MAX_PATH] = "c:\\*.*";
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = page;
    request.lpstrFile = path;
    request.nMaxFile = MAX_PATH;
    request.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (askForFile(request)) addListBoxItem(page, IDC_IGNORE_PATHS, path);
}

void addFolder(HWND page) {
    const std::string folder = browseForFolder(page, "Choose a folder");
    if (!folder.empty()) addListBoxItem(page, IDC_IGNORE_PATHS, folder);
}

INT_PTR apply(HWND page) {
    Settings settings;
    loadSettings(settings);
    if (!storeListOrTell(page, settings.szIgnorePaths, listBoxItems(page, IDC_IGNORE_PATHS), "Ignore Files"))
        return refuseApply(page);
    if (!saveSettingsOrTell(page, settings)) return refuseApply(page);
    return answerSheet(page, PSNRET_NOERROR);
}

}  // namespace

INT_PTR CALLBACK ignoreFilesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initialise(page);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_ADD_FILES:
            addFile(page);
            break;
        case IDC_ADD_FOLDERS:
            addFolder(page);
            break;
        case IDC_REMOVE_PATH:
            removeSelectedListBoxItem(page, IDC_IGNORE_PATHS);
            break;
        }
        return TRUE;
    case WM_NOTIFY:
        return answerPageNotification(page, lParam, apply, helpIgnoreFilesPage);
    }
    return FALSE;
}
