#include "engine/list_confirmation_dialog_win32.h"

#include <commctrl.h>

#include "res/resource.h"
#include "ui/application_win32.h"
#include "ui/dialog_toolkit_win32.h"

namespace {

struct ListConfirmationState {
    const ListConfirmation& confirmation;
    RECT previousClient{};
    bool clearingSelection = false;
};

constexpr ControlAnchor anchors[] = {
    {IDC_CONFIRMATION_LIST, false, false, true},
    {IDOK, false, true, false},
    {IDC_PREVIEW, false, true, false},
    {IDHELP, true, true, false},
    {IDCANCEL, true, true, false},
};

// Rows that only inform never show as selected: whatever selects one, the
// selection goes at once and the focus moves to "Retrace".
void keepSelectionHidden(HWND dialog, ListConfirmationState& state) {
    if (state.clearingSelection) return;
    state.clearingSelection = true;
    SetFocus(GetDlgItem(dialog, IDOK));
    clearListSelection(dialog, IDC_CONFIRMATION_LIST);
    state.clearingSelection = false;
}

void initialise(HWND dialog, ListConfirmationState& state) {
    const ListConfirmation& confirmation = state.confirmation;
    openResizableDialog(dialog, state.previousClient);
    SetWindowTextA(dialog, confirmation.caption.c_str());
    setUpList(dialog, IDC_CONFIRMATION_LIST, confirmation.columns);
    appendListRows(dialog, IDC_CONFIRMATION_LIST, confirmation.rows);
    if (confirmation.preview) ShowWindow(GetDlgItem(dialog, IDC_PREVIEW), SW_SHOW);
    if (confirmation.choice == RowChoice::AllPicked) {
        selectAllListRows(dialog, IDC_CONFIRMATION_LIST);
        SetFocus(GetDlgItem(dialog, IDC_CONFIRMATION_LIST));
    } else if (confirmation.choice == RowChoice::ShowOnly) {
        keepSelectionHidden(dialog, state);
    }
    if (confirmation.sizeShare != 1.0) shrinkAndCentre(dialog, confirmation.sizeShare, confirmation.sizeShare);
}

std::vector<int32_t> pickedValues(HWND dialog) {
    std::vector<int32_t> picked;
    for (int row : selectedListRows(dialog, IDC_CONFIRMATION_LIST))
        picked.push_back(listItemParam(dialog, IDC_CONFIRMATION_LIST, row));
    return picked;
}

void confirm(HWND dialog, const ListConfirmation& confirmation) {
    if (confirmation.retrace) confirmation.retrace(pickedValues(dialog));
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK listConfirmationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = dialogState<ListConfirmationState>(dialog, message, lParam);
    if (!state) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog, *state);
        // The focus was placed there.
        return FALSE;
    case WM_SIZE:
        moveControlsOnResize(dialog, state->previousClient, lParam, anchors);
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_CONFIRMATION_LIST) return FALSE;
        if (header->code == LVN_COLUMNCLICK && state->confirmation.sortable)
            sortListByColumn(dialog, IDC_CONFIRMATION_LIST, reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
        if (header->code == LVN_ITEMCHANGED && state->confirmation.choice == RowChoice::ShowOnly)
            keepSelectionHidden(dialog, *state);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            confirm(dialog, state->confirmation);
            return TRUE;
        case IDC_PREVIEW:
            if (state->confirmation.preview) state->confirmation.preview(dialog, pickedValues(dialog));
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case IDHELP:
            showHelp(dialog, state->confirmation.helpContext);
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace

int runListConfirmation(HWND owner, const ListConfirmation& confirmation) {
    ListConfirmationState state{confirmation};
    return int(DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_LIST_CONFIRMATION), owner, listConfirmationProc,
                               LPARAM(&state)));
}
