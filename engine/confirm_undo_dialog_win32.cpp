#include "engine/confirm_undo_dialog_win32.h"

#include "res/resource.h"
#include "ui/application_win32.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/list_texts.h"

namespace {

struct ConfirmUndoArgs {
    const std::string& item;
    int helpContext;
    const ConfirmUndoChoices& choices;
    // Set by the first "Retrace" or "Open": an undo that shows a message runs
    // a message loop, and a second press there must not undo the record twice.
    bool chosen = false;
};

INT_PTR CALLBACK confirmUndoProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = dialogState<ConfirmUndoArgs>(dialog, message, lParam);
    if (!state) return FALSE;
    ConfirmUndoArgs& args = *state;
    if (message == WM_INITDIALOG) {
        commonDialogSetUp(dialog);
        setShortenedText(dialog, IDC_CONFIRM_ITEM, displayCase(args.item));
        if (!args.choices.open) ShowWindow(GetDlgItem(dialog, IDC_CONFIRM_OPEN), SW_HIDE);
        if (!args.choices.preview) ShowWindow(GetDlgItem(dialog, IDC_PREVIEW), SW_HIDE);
        SetDlgItemTextA(dialog, IDC_CONFIRM_NOTICE, args.choices.notice.c_str());
        if (!args.choices.earlierVersionAvailable) {
            // Said before the undo is tried; Retrace stays for a person who
            // wants the record marked, and then says so again as an error.
            SendMessageA(dialog, DM_SETDEFID, IDCANCEL, 0);
            SetFocus(GetDlgItem(dialog, IDCANCEL));
            return FALSE;
        }
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        if (args.chosen) return TRUE;
        args.chosen = true;
        args.choices.retrace();
        EndDialog(dialog, 1);
        return TRUE;
    case IDC_CONFIRM_OPEN:
        if (!args.choices.open || args.chosen) return TRUE;
        args.chosen = true;
        args.choices.open();
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_PREVIEW:
        if (args.choices.preview) args.choices.preview(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    case IDHELP:
        showHelp(dialog, args.helpContext);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int runConfirmUndoDialog(HWND owner, const std::string& item, int helpContext, const ConfirmUndoChoices& choices) {
    ConfirmUndoArgs args{item, helpContext, choices};
    return int(DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_CONFIRM_UNDO), owner, confirmUndoProc,
                               LPARAM(&args)));
}
