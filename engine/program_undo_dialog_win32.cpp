#include "engine/program_undo_dialog_win32.h"

#include <commctrl.h>

#include "database/action_list.h"
#include "database/derived_lists.h"
#include "engine/confirmation_rows.h"
#include "engine/file_undo_dialogs_win32.h"
#include "engine/file_undo_win32.h"
#include "engine/list_confirmation_dialog_win32.h"
#include "engine/redo_win32.h"
#include "engine/session_undo.h"
#include "engine/undo_preview_win32.h"
#include "res/resource.h"
#include "ui/application_win32.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/list_texts.h"
#include "ui/list_view_win32.h"

namespace {

struct ProgramUndoState {
    const ProgramEntry& program;
    RECT previousClient{};
};

constexpr ListColumn fileColumns[] = {{"File Name", 180}, {"Action", 50}, {"Size", 45},
                                      {"Date", 60},       {"Time", 80},   {"Session", 500}};
constexpr ListColumn sessionColumns[] = {{"Session", 60}, {"Date", 80}, {"Time", 80}};
constexpr ListColumn confirmationColumns[] = {{"Session", 40}, {"Name", 200}, {"Size", 45},
                                              {"Type", 60},    {"Date", 60},  {"Time", 80}};

constexpr ControlAnchor anchors[] = {
    {IDC_PROGRAM_FILES, false, false, true},
    {IDC_PREVIEW, true, false, false},
    {IDC_PROGRAM_SESSIONS, false, true, false},
    {IDC_PROGRAM_SETTINGS_LABEL, false, true, false},
    {IDC_PROGRAM_EXPLANATION, false, true, false},
    {IDC_UNDO_SESSION_AND_FILES, false, true, false},
    {IDC_UNDO_SESSION_ONLY, false, true, false},
    {IDHELP, true, true, false},
    {IDCANCEL, true, true, false},
};

// A hidden button is disabled too, so the Enter key never reaches it.
void showButton(HWND dialog, int buttonId, bool shown) {
    HWND button = GetDlgItem(dialog, buttonId);
    ShowWindow(button, shown ? SW_SHOW : SW_HIDE);
    EnableWindow(button, shown);
}

// A pick in one list clears the other, and the buttons follow the pick: a
// file is undone alone, a session with its newer ones.
void followPick(HWND dialog, int pickedList) {
    clearListSelection(dialog, pickedList == IDC_PROGRAM_FILES ? IDC_PROGRAM_SESSIONS : IDC_PROGRAM_FILES);
    bool filePicked = firstSelectedListRow(dialog, IDC_PROGRAM_FILES) != -1;
    bool sessionPicked = firstSelectedListRow(dialog, IDC_PROGRAM_SESSIONS) != -1;
    if (!filePicked && !sessionPicked) return;
    showButton(dialog, IDC_UNDO_FILE, filePicked);
    showButton(dialog, IDC_UNDO_SESSION_AND_FILES, sessionPicked);
    showButton(dialog, IDC_UNDO_SESSION_ONLY, sessionPicked);
    EnableWindow(GetDlgItem(dialog, IDC_PREVIEW), TRUE);
}

void initialise(HWND dialog, ProgramUndoState& state) {
    openResizableDialog(dialog, state.previousClient);
    for (int button : {IDC_UNDO_FILE, IDC_UNDO_SESSION_AND_FILES, IDC_UNDO_SESSION_ONLY})
        showButton(dialog, button, false);
    SetWindowTextA(dialog, ("Undo Program - " + displayCase(state.program.programName)).c_str());
    setUpList(dialog, IDC_PROGRAM_FILES, fileColumns);
    setUpList(dialog, IDC_PROGRAM_SESSIONS, sessionColumns);
    appendListRows(dialog, IDC_PROGRAM_FILES, programFileRows(state.program, actionList));
    appendListRows(dialog, IDC_PROGRAM_SESSIONS, programSessionRows(state.program, actionList));
}

// The picked session is found by its row's value, so a sorted list undoes
// the session the user sees, with every newer one.
void undoSessions(HWND dialog, const ProgramUndoState& state, SessionPart part) {
    int row = firstSelectedListRow(dialog, IDC_PROGRAM_SESSIONS);
    auto oldest = sessionStartingWith(state.program.sessions, listItemParam(dialog, IDC_PROGRAM_SESSIONS, row));
    if (!oldest) {
        EndDialog(dialog, 1);
        return;
    }
    ListConfirmation confirmation;
    confirmation.caption = "Confirm undo of session";
    confirmation.columns = confirmationColumns;
    confirmation.rows = sessionConfirmationRows(state.program.sessions, *oldest, part, actionList);
    confirmation.helpContext = helpConfirmSessionUndo;
    std::vector<int32_t> order = programSessionsUndoOrder(state.program.sessions, *oldest, part);
    confirmation.preview = [&order](HWND owner, const std::vector<int32_t>&) { showSessionPreview(owner, order); };
    if (!runListConfirmation(dialog, confirmation)) return;
    undoActions(order);
    EndDialog(dialog, 1);
}

void undoPickedFile(HWND dialog) {
    int row = firstSelectedListRow(dialog, IDC_PROGRAM_FILES);
    if (row != -1) {
        clearRedo();
        confirmFileActionUndo(dialog, listItemParam(dialog, IDC_PROGRAM_FILES, row));
    }
    EndDialog(dialog, 1);
}

// Shows what undoing the picked file, or the picked session with every newer
// one and their files, would bring back.
void previewPick(HWND dialog, const ProgramUndoState& state) {
    int fileRow = firstSelectedListRow(dialog, IDC_PROGRAM_FILES);
    if (fileRow != -1) {
        showFileActionsPreview(dialog, std::vector<int32_t>{listItemParam(dialog, IDC_PROGRAM_FILES, fileRow)});
        return;
    }
    int sessionRow = firstSelectedListRow(dialog, IDC_PROGRAM_SESSIONS);
    auto oldest = sessionStartingWith(state.program.sessions, listItemParam(dialog, IDC_PROGRAM_SESSIONS, sessionRow));
    if (oldest)
        showSessionPreview(dialog,
                           programSessionsUndoOrder(state.program.sessions, *oldest, SessionPart::SettingsAndFiles));
}

void onNotify(HWND dialog, const NMHDR& header) {
    if (header.idFrom != IDC_PROGRAM_FILES && header.idFrom != IDC_PROGRAM_SESSIONS) return;
    int list = int(header.idFrom);
    if (header.code == LVN_COLUMNCLICK)
        sortListByColumn(dialog, list, reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
    if (header.code == NM_CLICK) followPick(dialog, list);
    // A pick made with the keyboard counts as a click.
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        bool picked = (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED);
        if (picked && GetFocus() == header.hwndFrom) followPick(dialog, list);
    }
}

INT_PTR CALLBACK programUndoProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = dialogState<ProgramUndoState>(dialog, message, lParam);
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
        case IDC_UNDO_SESSION_AND_FILES:
            undoSessions(dialog, *state, SessionPart::SettingsAndFiles);
            return TRUE;
        case IDC_UNDO_SESSION_ONLY:
            undoSessions(dialog, *state, SessionPart::SettingsOnly);
            return TRUE;
        case IDC_UNDO_FILE:
            undoPickedFile(dialog);
            return TRUE;
        case IDC_PREVIEW:
            previewPick(dialog, *state);
            return TRUE;
        case IDHELP:
            showHelp(dialog, helpUndoProgram);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
    }
    return FALSE;
}

}  // namespace

int showProgramUndo(HWND owner, int programIndex) {
    if (programIndex < 0 || size_t(programIndex) >= programList.size()) return 0;
    ProgramUndoState state{programList[size_t(programIndex)]};
    return int(DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_PROGRAM_UNDO), owner, programUndoProc,
                               LPARAM(&state)));
}
