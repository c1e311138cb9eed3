#include "browse/wizard_pages_win32.h"

#include "browse/wizard_selection.h"
#include "database/action_list_file_win32.h"
#include "engine/file_undo_win32.h"
#include "engine/redo_win32.h"

void checkFirstChoice(HWND page, std::span<const RadioChoice> choices) {
    CheckRadioButton(page, choices.front().controlId, choices.back().controlId, choices.front().controlId);
}

int chosenPage(HWND page, std::span<const RadioChoice> choices) {
    for (const RadioChoice& choice : choices)
        if (IsDlgButtonChecked(page, choice.controlId) == BST_CHECKED) return choice.page;
    return stayOnPage;
}

std::optional<int32_t> chosenRowValue(HWND page, int listId) {
    const int row = firstSelectedListRow(page, listId);
    if (row == -1) return std::nullopt;
    return listItemParam(page, listId, row);
}

void selectChosenRow(HWND page, int listId) { selectOnly(wizardSelection, chosenRowValue(page, listId)); }

void undoRecords(std::span<const int32_t> indices) {
    undoActions(indices);
    saveActionList();
}

void undoSelection() {
    if (wizardSelection.count == 0) return;
    clearRedo();
    undoRecords(selectionList(wizardSelection));
}

int undoAndFinish(std::span<const int32_t> records) {
    setSelectionList(wizardSelection, records);
    undoSelection();
    return pageDone;
}
