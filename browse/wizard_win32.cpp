#include "browse/wizard_win32.h"

#include <commctrl.h>

#include <vector>

#include "browse/wizard_pages_win32.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/property_sheet_win32.h"

namespace {

// Posted to a page that names its own title as it becomes current: the
// sheet sets the frame's title from the page's template after telling the
// page, so the page's title can only follow.
constexpr UINT retitleFrame = WM_APP + 1;

WizardEnd wizardEnd = WizardEnd::Closed;

const std::vector<WizardPage>& wizardPages() {
    static const std::vector<WizardPage> pages = [] {
        std::vector<WizardPage> all;
        for (auto part : {openingPages(), fileUndoPages(), settingsUndoPages(), startOverPages(), findPages(),
                          donePages()})
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }();
    return pages;
}

// A page moves the sheet itself and answers -1, so that the sheet does not
// make its own move as well.
INT_PTR moveTo(HWND page, int target) {
    if (target == sheetsOwnMove) return answerSheet(page, 0);
    if (target != stayOnPage) PropSheet_SetCurSel(GetParent(page), nullptr, target);
    return answerSheet(page, -1);
}

INT_PTR onNotify(HWND page, const WizardPage& description, const NMHDR& header) {
    switch (header.code) {
    case PSN_SETACTIVE:
        if (description.listId) ListView_DeleteAllItems(GetDlgItem(page, description.listId));
        if (description.activate) description.activate(page);
        if (description.title) PostMessageA(page, retitleFrame, 0, 0);
        return answerSheet(page, 0);
    case PSN_WIZNEXT:
        return moveTo(page, description.next ? description.next(page) : sheetsOwnMove);
    case PSN_WIZBACK:
        return moveTo(page, description.back);
    case PSN_HELP:
        showHelp(page, helpWizard);
        return TRUE;
    case NM_DBLCLK:
        if (description.doubleClick && header.idFrom == UINT_PTR(description.listId)) {
            const int row = listRowUnderPointer(page, description.listId);
            if (row != -1) description.doubleClick(page, row);
        }
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK wizardPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto& description = *reinterpret_cast<const WizardPage*>(pageArgument(lParam));
        SetWindowLongPtrA(page, DWLP_USER, LONG_PTR(&description));
        if (description.listId) setUpList(page, description.listId, description.columns);
        return TRUE;
    }
    const auto* description = reinterpret_cast<const WizardPage*>(GetWindowLongPtrA(page, DWLP_USER));
    if (!description) return FALSE;
    if (message == WM_NOTIFY) return onNotify(page, *description, *reinterpret_cast<const NMHDR*>(lParam));
    if (message == retitleFrame && description->title) {
        SetWindowTextA(GetParent(page), description->title().c_str());
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED && description->details) {
        description->details(page);
        return TRUE;
    }
    return FALSE;
}

// The wizard has no use for the sheet's OK; the frame, not its pages, runs
// the common set-up.
void setUpFrame(HWND sheet) {
    ShowWindow(GetDlgItem(sheet, IDOK), SW_HIDE);
    commonDialogSetUp(sheet);
}

}  // namespace

void closeForFileHistory(HWND page) {
    wizardEnd = WizardEnd::FileHistoryAsked;
    PropSheet_PressButton(GetParent(page), PSBTN_CANCEL);
}

WizardEnd runWizard(int startPage) {
    std::vector<SheetPage> pages;
    for (const WizardPage& page : wizardPages()) pages.push_back({page.templateId, wizardPageProc, LPARAM(&page)});
    wizardEnd = WizardEnd::Closed;
    runPropertySheet("Retrace Wizard", pages, setUpFrame, {.wizard = true, .startPage = startPage});
    return wizardEnd;
}
