#include "browse/history_dialog_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <span>
#include <vector>

#include "base/file_operations_win32.h"
#include "browse/history_rows.h"
#include "database/action_list.h"
#include "database/derived_lists.h"
#include "engine/undo_preview_win32.h"
#include "res/resource.h"
#include "ui/application_win32.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/list_view_win32.h"

namespace {

constexpr ListColumn programColumns[] = {{"Program", 100}, {"Files", 60}, {"Sessions", 60}};
constexpr ListColumn fileColumns[] = {{"Name", 200}, {"Action", 65}, {"Program", 55}, {"Files", 35},
                                      {"Size", 50},  {"Date", 60},   {"Time", 80}};
constexpr ListColumn appletColumns[] = {{"Applet", 285}, {"Sessions", 60}};

struct HistoryFormLayout {
    const char* caption;
    std::span<const ListColumn> columns;
    int helpContext;
    double widthShare;
    double heightShare;
};

const HistoryFormLayout& layoutOf(HistoryForm form) {
    static const HistoryFormLayout programs{"Programs", programColumns, helpProgramHistory, 0.5, 2.0 / 3.0};
    static const HistoryFormLayout files{"Files", fileColumns, helpFileHistory, 1.0, 1.0};
    static const HistoryFormLayout applets{"Control Panel Applets", appletColumns, helpAppletHistory, 2.0 / 3.0,
                                           2.0 / 3.0};
    return form == HistoryForm::Programs ? programs : form == HistoryForm::Files ? files : applets;
}

std::vector<ListRow> rowsOf(HistoryForm form) {
    switch (form) {
    case HistoryForm::Programs:
        return programHistoryRows(programList);
    case HistoryForm::Files:
        return fileHistoryRows(fileActionList, actionList, folderExists);
    case HistoryForm::Applets:
        return appletHistoryRows(appletList);
    }
    return {};
}

// Each form keeps its own last client rectangle between runs.
RECT previousClients[3];

struct HistoryDialogState {
    HistoryForm form;
    RECT& previousClient;
};

constexpr ControlAnchor anchors[] = {
    {IDC_HISTORY_LIST, false, false, true},
    {IDOK, false, true, false},
    {IDC_PREVIEW, false, true, false},
    {IDHELP, true, true, false},
    {IDCANCEL, true, true, false},
};

void initialise(HWND dialog, const HistoryDialogState& state) {
    const HistoryFormLayout& layout = layoutOf(state.form);
    openResizableDialog(dialog, state.previousClient);
    SetWindowTextA(dialog, layout.caption);
    EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
    // Only file actions have a preview here; a program's or applet's undo
    // is previewed in its own dialog.
    EnableWindow(GetDlgItem(dialog, IDC_PREVIEW), FALSE);
    if (state.form == HistoryForm::Files) ShowWindow(GetDlgItem(dialog, IDC_PREVIEW), SW_SHOW);
    setUpList(dialog, IDC_HISTORY_LIST, layout.columns);
    appendListRows(dialog, IDC_HISTORY_LIST, rowsOf(state.form));
    if (layout.widthShare != 1.0 || layout.heightShare != 1.0)
        shrinkAndCentre(dialog, layout.widthShare, layout.heightShare);
}

int pickedEntry(HWND dialog) {
    return listItemParam(dialog, IDC_HISTORY_LIST, firstSelectedListRow(dialog, IDC_HISTORY_LIST));
}

// "Retrace" and "Preview..." become usable together, once a row is picked.
void enablePickButtons(HWND dialog, bool enabled) {
    EnableWindow(GetDlgItem(dialog, IDOK), enabled);
    EnableWindow(GetDlgItem(dialog, IDC_PREVIEW), enabled);
}

// The picked file action's undo takes its files the last first.
void previewPickedFileAction(HWND dialog) {
    int group = pickedEntry(dialog);
    if (group < 0 || size_t(group) >= fileActionList.size()) return;
    std::vector<int32_t> actions = fileActionList[size_t(group)].actions;
    std::reverse(actions.begin(), actions.end());
    showFileActionsPreview(dialog, actions);
}

void onNotify(HWND dialog, const NMHDR& header) {
    if (header.idFrom != IDC_HISTORY_LIST) return;
    HWND list = header.hwndFrom;
    switch (header.code) {
    case LVN_COLUMNCLICK:
        sortListByColumn(dialog, IDC_HISTORY_LIST, reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        break;
    case NM_CLICK:
        enablePickButtons(dialog, ListView_GetItemCount(list) > 0);
        break;
    case LVN_ITEMCHANGED:
        // A row picked with the keyboard makes "Retrace" usable as a click does.
        if (reinterpret_cast<const NMLISTVIEW&>(header).uNewState & LVIS_SELECTED)
            enablePickButtons(dialog, true);
        break;
    case NM_DBLCLK:
        if (listRowUnderPointer(dialog, IDC_HISTORY_LIST) != -1) EndDialog(dialog, pickedEntry(dialog));
        break;
    }
}

INT_PTR CALLBACK historyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = dialogState<const HistoryDialogState>(dialog, message, lParam);
    if (!state) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog, *state);
        return TRUE;
    case WM_SIZE:
        moveControlsOnResize(dialog, state->previousClient, lParam, anchors);
        return TRUE;
    case WM_NOTIFY:
        onNotify(dialog, *reinterpret_cast<const NMHDR*>(lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            EndDialog(dialog, pickedEntry(dialog));
            return TRUE;
        case IDC_PREVIEW:
            if (state->form == HistoryForm::Files) previewPickedFileAction(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, -1);
            return TRUE;
        case IDHELP:
            showHelp(dialog, layoutOf(state->form).helpContext);
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace

int runHistoryDialog(HWND owner, HistoryForm form) {
    HistoryDialogState state{form, previousClients[int(form)]};
    return int(DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_HISTORY), owner, historyDialogProc, LPARAM(&state)));
}
