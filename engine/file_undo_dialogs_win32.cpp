#include "engine/file_undo_dialogs_win32.h"

#include <string>

#include "base/file_operations_win32.h"
#include "database/action_list.h"
#include "database/derived_lists.h"
#include "engine/confirm_undo_dialog_win32.h"
#include "engine/confirmation_rows.h"
#include "engine/file_undo_win32.h"
#include "engine/list_confirmation_dialog_win32.h"
#include "engine/redo_win32.h"
#include "engine/undo_preview.h"
#include "engine/undo_preview_win32.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/list_texts.h"

namespace {

constexpr ListColumn fileColumns[] = {{"File Name", 300}, {"Size", 45}, {"Date", 60}, {"Time", 80}};

int confirmFileGroupUndo(HWND owner, const FileActionGroup& group) {
    const ActionRecord& first = actionList[size_t(group.actions.front())];
    ListConfirmation confirmation;
    confirmation.caption = "Confirm Undo of " + std::string(actionKindLabel(first.kind)) + " by " +
                           displayCase(first.programName);
    confirmation.columns = fileColumns;
    confirmation.rows = fileGroupRows(group, actionList);
    confirmation.choice = RowChoice::AllPicked;
    // The rows stand in the order the files will be undone.
    confirmation.sortable = false;
    confirmation.helpContext = helpConfirmFileGroupUndo;
    confirmation.preview = [](HWND dialog, const std::vector<int32_t>& picked) { showFileActionsPreview(dialog, picked); };
    confirmation.retrace = [](const std::vector<int32_t>& picked) {
        if (picked.empty()) return;
        clearRedo();
        undoActions(picked);
    };
    return runListConfirmation(owner, confirmation);
}

}  // namespace

int showFileUndo(HWND owner, int groupIndex) {
    if (groupIndex < 0 || size_t(groupIndex) >= fileActionList.size()) return 0;
    const FileActionGroup& group = fileActionList[size_t(groupIndex)];
    if (group.actions.empty()) return 0;
    if (group.actions.size() == 1) return confirmFileActionUndo(owner, group.actions.front());
    return confirmFileGroupUndo(owner, group);
}

int confirmFileActionUndo(HWND owner, int actionIndex) {
    if (actionIndex < 0 || actionIndex >= actionCount()) return 0;
    ConfirmUndoChoices choices;
    choices.retrace = [actionIndex] {
        clearRedo();
        openFileOrFolder(undoAction(actionIndex), false);
    };
    choices.open = [actionIndex] { openFileOrFolder(undoAction(actionIndex), true); };
    choices.preview = [actionIndex](HWND dialog) { showFileActionsPreview(dialog, std::vector<int32_t>{actionIndex}); };
    choices.notice = fileUndoNotice(actionIndex);
    choices.earlierVersionAvailable = choices.notice != earlierVersionMissing;
    return runConfirmUndoDialog(owner, actionList[size_t(actionIndex)].dataA, helpConfirmFileUndo, choices);
}
