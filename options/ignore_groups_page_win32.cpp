// Options, Ignore Groups page: the groups of files the monitors leave alone.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "base/text.h"
#include "options/options_rules.h"
#include "options/options_sheet_win32.h"
#include "res/resource.h"
#include "settings/settings_store_win32.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/property_sheet_win32.h"

namespace {

struct GroupCheck {
    int controlId;
    uint32_t Settings::*field;
};

constexpr GroupCheck checks[] = {
    {IDC_IGNORE_RECYCLE_BIN, &Settings::IgnoreRecycleBin}, {IDC_IGNORE_TEMP, &Settings::IgnoreTemp},
    {IDC_IGNORE_GRAPHICS, &Settings::IgnoreGraphics},      {IDC_IGNORE_BACKUPS, &Settings::IgnoreBackups},
    {IDC_IGNORE_LINKS, &Settings::IgnoreLinks},            {IDC_IGNORE_ARCHIVES, &Settings::IgnoreArchives},
    {IDC_IGNORE_USER, &Settings::IgnoreUser},              {IDC_IGNORE_EMAIL, &Settings::IgnoreEMail},
    {IDC_IGNORE_NEWS, &Settings::IgnoreNews},
};

bool checked(HWND page, int controlId) { return IsDlgButtonChecked(page, controlId) == BST_CHECKED; }

void enable(HWND page, int controlId, bool enabled) { EnableWindow(GetDlgItem(page, controlId), enabled); }

void initialise(HWND page) {
    setUpPage(page);
    Settings settings;
    loadSettings(settings);
    for (const GroupCheck& check : checks)
        CheckDlgButton(page, check.controlId, settings.*check.field ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page, IDC_IGNORE_LARGE, settings.LargeFileSize != 0 ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(page, IDC_LARGE_FILE_SIZE, settings.LargeFileSize / 1000, FALSE);
    enable(page, IDC_LARGE_FILE_SIZE, settings.LargeFileSize != 0);
    // What is typed is never longer than what it is stored as.
    SendDlgItemMessageA(page, IDC_IGNORE_USER_LIST, EM_LIMITTEXT, sizeof settings.szIgnoreUser - 1, 0);
    SetDlgItemTextA(page, IDC_IGNORE_USER_LIST, customListForShow(settings.szIgnoreUser).c_str());
    enable(page, IDC_IGNORE_USER_LIST, settings.IgnoreUser != 0);
}

void onCommand(HWND page, int controlId) {
    if (controlId == IDC_IGNORE_USER) enable(page, IDC_IGNORE_USER_LIST, checked(page, IDC_IGNORE_USER));
    if (controlId == IDC_IGNORE_LARGE) {
        enable(page, IDC_LARGE_FILE_SIZE, checked(page, IDC_IGNORE_LARGE));
        if (!checked(page, IDC_IGNORE_LARGE)) SetDlgItemInt(page, IDC_LARGE_FILE_SIZE, 0, FALSE);
    }
}

INT_PTR apply(HWND page) {
    Settings settings;
    loadSettings(settings);
    settings.LargeFileSize = 0;
    if (checked(page, IDC_IGNORE_LARGE)) {
        auto size = largeFileSizeFromTyped(dialogItemText(page, IDC_LARGE_FILE_SIZE));
        if (!size) {
            MessageBoxA(page, "The smallest file that can be ignored is 250Kb.", "Large File Size",
                        MB_OK | MB_ICONWARNING);
            SetDlgItemInt(page, IDC_LARGE_FILE_SIZE, smallestIgnoredKbytes, FALSE);
            return refuseApply(page);
        }
        settings.LargeFileSize = *size;
    }
    for (const GroupCheck& check : checks) settings.*check.field = checked(page, check.controlId);
    if (checked(page, IDC_IGNORE_USER))
        setFieldText(settings.szIgnoreUser, customListFromTyped(dialogItemText(page, IDC_IGNORE_USER_LIST)));
    if (!saveSettingsOrTell(page, settings)) return refuseApply(page);
    return answerSheet(page, PSNRET_NOERROR);
}

}  // namespace

INT_PTR CALLBACK ignoreGroupsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initialise(page);
        return TRUE;
    case WM_COMMAND:
        onCommand(page, LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        return answerPageNotification(page, lParam, apply, helpIgnoreGroupsPage);
    }
    return FALSE;
}
