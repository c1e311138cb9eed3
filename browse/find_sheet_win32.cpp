#include "browse/find_sheet_win32.h"

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "base/file_operations_win32.h"
#include "browse/find_rows.h"
#include "database/action_list.h"
#include "res/resource.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/list_view_win32.h"
#include "ui/property_sheet_win32.h"

namespace {

struct FindTabPage {
    int templateId;
    int listId;
    FindTab tab;
    int helpContext;
};

constexpr FindTabPage tabs[] = {
    {IDD_FIND_CREATE, IDC_FIND_CREATE_LIST, FindTab::Create, helpFindCreate},
    {IDD_FIND_MODIFY, IDC_FIND_MODIFY_LIST, FindTab::Modify, helpFindModify},
    {IDD_FIND_RENAME, IDC_FIND_RENAME_LIST, FindTab::Rename, helpFindRename},
    {IDD_FIND_COPY, IDC_FIND_COPY_LIST, FindTab::Copy, helpFindCopy},
    {IDD_FIND_MOVE, IDC_FIND_MOVE_LIST, FindTab::Move, helpFindMove},
    {IDD_FIND_DOWNLOAD, IDC_FIND_DOWNLOAD_LIST, FindTab::Download, helpFindDownload},
};

constexpr ListColumn columns[] = {{"Name", 180}, {"Date", 80}, {"Time", 500}};

void enableOpen(HWND page, bool enable) { EnableWindow(GetDlgItem(GetParent(page), IDOK), enable); }

// Rows of one program share its icon: one image per program, not per row.
void fillTab(HWND page, const FindTabPage& tab) {
    HWND list = GetDlgItem(page, tab.listId);
    ListView_DeleteAllItems(list);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 20, 1);
    std::map<std::string, int> imageOfProgram;
    std::vector<ListRow> rows;
    std::vector<int> rowImages;
    for (int32_t index : findTabRecords(actionList, tab.tab)) {
        const ActionRecord& record = actionList[size_t(index)];
        auto [image, added] = imageOfProgram.try_emplace(record.programPath, -1);
        if (added) image->second = ImageList_AddIcon(images, fileIcons(record.programPath).smallIcon());
        rows.push_back(findRow(record, index));
        rowImages.push_back(image->second);
    }
    // The list owns the image list it holds; the one it held before is ours.
    if (HIMAGELIST replaced = ListView_SetImageList(list, images, LVSIL_SMALL)) ImageList_Destroy(replaced);
    appendListRows(page, tab.listId, rows, rowImages);
}

// Opens the chosen row's file; false when no row is chosen.
bool openChosenFile(HWND page, const FindTabPage& tab) {
    int index = listItemParam(page, tab.listId, firstSelectedListRow(page, tab.listId));
    if (index < 0 || size_t(index) >= actionList.size()) return false;
    openFileOrFolder(pathNowOf(actionList[size_t(index)]), true);
    return true;
}

INT_PTR onNotify(HWND page, const FindTabPage& tab, const NMHDR& header) {
    switch (header.code) {
    case PSN_SETACTIVE:
        enableOpen(page, false);
        fillTab(page, tab);
        return answerSheet(page, 0);
    case PSN_APPLY:
        // Every tab visited is told; only the one shown opens its row, or
        // a row chosen on an earlier tab would open in its place.
        if (PropSheet_GetCurrentPageHwnd(GetParent(page)) != page) return answerSheet(page, PSNRET_NOERROR);
        // Nothing chosen: "Open" closes the sheet as OK does.
        return openChosenFile(page, tab) ? refuseApply(page) : answerSheet(page, PSNRET_NOERROR);
    case PSN_HELP:
        showHelp(page, tab.helpContext);
        return TRUE;
    case NM_CLICK:
        if (header.idFrom == UINT_PTR(tab.listId)) enableOpen(page, ListView_GetItemCount(header.hwndFrom) > 0);
        return TRUE;
    case NM_DBLCLK:
        if (header.idFrom == UINT_PTR(tab.listId) && listRowUnderPointer(page, tab.listId) != -1)
            openChosenFile(page, tab);
        return TRUE;
    case LVN_COLUMNCLICK:
        sortListByColumn(page, tab.listId, reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK findPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto& tab = *reinterpret_cast<const FindTabPage*>(pageArgument(lParam));
        SetWindowLongPtrA(page, DWLP_USER, LONG_PTR(&tab));
        setUpPage(page);
        setUpList(page, tab.listId, columns);
        return TRUE;
    }
    const auto* tab = reinterpret_cast<const FindTabPage*>(GetWindowLongPtrA(page, DWLP_USER));
    if (tab && message == WM_NOTIFY) return onNotify(page, *tab, *reinterpret_cast<const NMHDR*>(lParam));
    return FALSE;
}

void relabelButtons(HWND sheet) {
    SetDlgItemTextA(sheet, IDOK, "Open");
    SetDlgItemTextA(sheet, IDCANCEL, "Close");
}

}  // namespace

void runFindSheet() {
    std::vector<SheetPage> pages;
    for (const FindTabPage& tab : tabs) pages.push_back({tab.templateId, findPageProc, LPARAM(&tab)});
    runPropertySheet("Undo find", pages, relabelButtons);
}
