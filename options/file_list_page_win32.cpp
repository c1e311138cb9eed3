// Options, File List page: the file types that count as the user's documents.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "database/rebuild_win32.h"
#include "options/options_rules.h"
#include "options/options_sheet_win32.h"
#include "res/resource.h"
#include "settings/registered_extensions_win32.h"
#include "settings/settings_store_win32.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/property_sheet_win32.h"

namespace {

void initialise(HWND page) {
    setUpPage(page);
    for (const std::string& extension : buildDataFileExtensions())
        if (!extension.empty()) addListBoxItem(page, IDC_FILE_TYPES, toLowerAscii(extension));
}

void addType(HWND page) {
    const std::string typed = dialogItemText(page, IDC_FILE_TYPE);
    if (!typed.empty()) addListBoxItem(page, IDC_FILE_TYPES, toUpperAscii(typed));
    SetDlgItemTextA(page, IDC_FILE_TYPE, "");
}

INT_PTR apply(HWND page) {
    Settings settings;
    loadSettings(settings);
    FileListChoice choice =
        fileListChoice(registeredExtensions(), settings.szPermaDelExts, listBoxItems(page, IDC_FILE_TYPES));
    if (!storeListOrTell(page, settings.szSettingExts, choice.settingExts, "File List") ||
        !storeListOrTell(page, settings.szFileExts, choice.fileExts, "File List"))
        return refuseApply(page);
    if (!saveSettingsOrTell(page, settings)) return refuseApply(page);
    forgetDataFileExtensions();
    return answerSheet(page, PSNRET_NOERROR);
}

}  // namespace

INT_PTR CALLBACK fileListPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initialise(page);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ADD_TYPE) addType(page);
        if (LOWORD(wParam) == IDC_REMOVE_TYPE) removeSelectedListBoxItem(page, IDC_FILE_TYPES);
        return TRUE;
    case WM_NOTIFY:
        return answerPageNotification(page, lParam, apply, helpFileListPage);
    }
    return FALSE;
}
