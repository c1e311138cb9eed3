#include "ui/property_sheet_win32.h"

#include <commctrl.h>

#include <vector>

#include "res/resource.h"
#include "ui/application_win32.h"
#include "ui/dialog_toolkit_win32.h"

namespace {
// The sheet callback takes no argument of its own; sheets are modal and
// run one at a time on the main thread, so the running one's hook waits here.
void (*sheetInitialised)(HWND sheet) = nullptr;

int CALLBACK sheetCallback(HWND sheet, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED) {
        centreWindow(sheet);
        if (sheetInitialised) sheetInitialised(sheet);
    }
    return 0;
}
}  // namespace

void runPropertySheet(const char* caption, std::span<const SheetPage> pages, void (*initialised)(HWND sheet),
                      SheetStyle style) {
    std::vector<PROPSHEETPAGEA> sheetPages;
    for (const SheetPage& page : pages) {
        PROPSHEETPAGEA description{};
        description.dwSize = sizeof description;
        description.dwFlags = PSP_HASHELP;
        description.hInstance = appInstance;
        description.pszTemplate = MAKEINTRESOURCEA(page.templateId);
        description.pfnDlgProc = page.procedure;
        description.lParam = page.argument;
        sheetPages.push_back(description);
    }
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USEICONID | PSH_USECALLBACK |
                     (style.wizard ? PSH_WIZARD : 0);
    header.hInstance = appInstance;
    header.pszIcon = MAKEINTRESOURCEA(IDI_MONITORING_ON);
    header.pszCaption = caption;
    header.nPages = UINT(sheetPages.size());
    header.nStartPage = UINT(style.startPage);
    header.ppsp = sheetPages.data();
    header.pfnCallback = sheetCallback;
    sheetInitialised = initialised;
    PropertySheetA(&header);
    sheetInitialised = nullptr;
}

LPARAM pageArgument(LPARAM initDialogParam) { return reinterpret_cast<const PROPSHEETPAGEA*>(initDialogParam)->lParam; }

void setUpPage(HWND page) { commonDialogSetUp(GetParent(page)); }

INT_PTR answerPageNotification(HWND page, LPARAM notification, INT_PTR (*apply)(HWND page), int helpContext) {
    switch (reinterpret_cast<const NMHDR*>(notification)->code) {
    case PSN_APPLY:
        return apply ? apply(page) : FALSE;
    case PSN_HELP:
        showHelp(page, helpContext);
        return TRUE;
    }
    return FALSE;
}

INT_PTR answerSheet(HWND page, LRESULT result) {
    SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR refuseApply(HWND page) { return answerSheet(page, PSNRET_INVALID_NOCHANGEPAGE); }
