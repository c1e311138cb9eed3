// The wizard's file branch: a file action found by its file's name or by
// the program that made it, and the confirmation that undoes it.

#include <windows.h>

#include <commctrl.h>

#include "base/file_operations_win32.h"
#include "browse/wizard_pages_win32.h"
#include "browse/wizard_rows.h"
#include "database/action_list.h"
#include "engine/restore_name.h"
#include "engine/restore_win32.h"
#include "res/resource.h"

namespace {

constexpr ListColumn fileColumns[] = {{"Name", 180}, {"Date", 80}, {"Time", 500}};

void fillProgramFiles(HWND page) {
    if (wizardSelection.count == 0) return;
    appendListRows(page, IDC_WIZARD_PROGRAM_FILES,
                   sessionFileRows(sessionsOf(programList, wizardSelection.slots[0]), actionList));
}

// Undoes the row's action now, unless it is undone already, and shows the
// folder the restored file is in: a restore name that no file holds yet
// cannot be opened, so its folder opens instead. The row stays.
void undoRowAndShowItsFolder(HWND page, int row) {
    const int32_t index = listItemParam(page, IDC_WIZARD_LIST, row);
    if (index < 0 || index >= actionCount()) return;
    undoRecords(std::span(&index, 1));
    openFileOrFolder(makeRestoreName(actionList[size_t(index)].dataA, restoreSuffix), true);
}

const WizardPage fileUndo[] = {
    {.templateId = IDD_WIZARD_BY_FILE_NAME,
     .back = pageFindHow,
     .next = [](HWND page) {
         selectChosenRow(page, IDC_WIZARD_LIST);
         return int(pageConfirmFiles);
     },
     .listId = IDC_WIZARD_LIST,
     .columns = fileColumns,
     .activate = [](HWND page) { appendListRows(page, IDC_WIZARD_LIST, fileActionRows(fileActionList, actionList)); },
     .details = closeForFileHistory},
    {.templateId = IDD_WIZARD_BY_PROGRAM,
     .back = pageFindHow,
     .next = [](HWND page) {
         chooseEntry(wizardSelection, chosenRowValue(page, IDC_WIZARD_LIST));
         return int(pageProgramFiles);
     },
     .listId = IDC_WIZARD_LIST,
     .columns = programColumns,
     .activate = [](HWND page) {
         appendListRows(page, IDC_WIZARD_LIST, programRows(programList, actionList, ProgramsListed::All));
     }},
    {.templateId = IDD_WIZARD_PROGRAM_FILES,
     .back = pageByProgram,
     .next = [](HWND page) {
         selectChosenRow(page, IDC_WIZARD_PROGRAM_FILES);
         return int(pageConfirmFiles);
     },
     .listId = IDC_WIZARD_PROGRAM_FILES,
     .columns = fileColumns,
     .activate = fillProgramFiles,
     .details = closeForFileHistory},
    {.templateId = IDD_WIZARD_CONFIRM_FILES,
     .back = pageFindHow,
     .next = [](HWND) {
         undoSelection();
         return int(pageDone);
     },
     .listId = IDC_WIZARD_LIST,
     .columns = fileColumns,
     .activate = [](HWND page) {
         appendListRows(page, IDC_WIZARD_LIST, recordRows(selectionList(wizardSelection), actionList));
     },
     .doubleClick = undoRowAndShowItsFolder},
};

}  // namespace

std::span<const WizardPage> fileUndoPages() { return fileUndo; }
