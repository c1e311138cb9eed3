// The wizard's Find branch: what was done with the file, then the file
// actions of that kind with the programs that made them. A double click
// opens the file. Nothing is undone here.

#include <windows.h>

#include <commctrl.h>

#include "base/file_operations_win32.h"
#include "browse/find_rows.h"
#include "browse/wizard_pages_win32.h"
#include "browse/wizard_rows.h"
#include "database/action_list.h"
#include "res/resource.h"

namespace {

constexpr ListColumn foundColumns[] = {{"Program", 90}, {"File", 500}};

struct FindChoice {
    int controlId;
    int32_t kind;
    bool downloads;
};

// In the order the page's Next asks them; a download is a Create.
constexpr FindChoice findChoices[] = {
    {IDC_WIZARD_MOVE, kindMove, false},     {IDC_WIZARD_RENAME, kindRename, false},
    {IDC_WIZARD_COPY, kindCopy, false},     {IDC_WIZARD_CREATE, kindCreate, false},
    {IDC_WIZARD_MODIFY, kindModify, false}, {IDC_WIZARD_DOWNLOAD, kindCreate, true},
};

void checkCopyOnly(HWND page) {
    for (const FindChoice& choice : findChoices)
        CheckDlgButton(page, choice.controlId, choice.controlId == IDC_WIZARD_COPY ? BST_CHECKED : BST_UNCHECKED);
}

int chooseKind(HWND page) {
    FindChoice chosen{0, kindNone, false};
    for (const FindChoice& choice : findChoices)
        if (IsDlgButtonChecked(page, choice.controlId) == BST_CHECKED) {
            chosen = choice;
            break;
        }
    chooseFoundKind(wizardSelection, chosen.kind, chosen.downloads);
    return pageFoundFiles;
}

// Each row shows the icon of the program that made the file, at the image
// of its own index.
void fillFoundFiles(HWND page) {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    const std::vector<int32_t> records =
        foundFileRecords(actionList, wizardSelection.slots[0], wizardSelection.slots[1]);
    const std::vector<ListRow> rows = foundFileRows(records, actionList);
    std::vector<int> rowImages;
    for (size_t row = 0; row < rows.size(); ++row)
        rowImages.push_back(
            ImageList_AddIcon(images, fileIcons(actionList[size_t(records[row])].programPath).smallIcon()));
    // The list owns the image list it holds; the one it held before is ours.
    HWND list = GetDlgItem(page, IDC_WIZARD_FOUND_FILES);
    if (HIMAGELIST replaced = ListView_SetImageList(list, images, LVSIL_SMALL)) ImageList_Destroy(replaced);
    appendListRows(page, IDC_WIZARD_FOUND_FILES, rows, rowImages);
}

void openRowsFile(HWND page, int row) {
    const int32_t index = listItemParam(page, IDC_WIZARD_FOUND_FILES, row);
    if (index >= 0 && index < actionCount()) openFileOrFolder(pathNowOf(actionList[size_t(index)]), true);
}

const WizardPage find[] = {
    {.templateId = IDD_WIZARD_FIND_FILE, .back = pageTask, .next = chooseKind, .activate = checkCopyOnly},
    {.templateId = IDD_WIZARD_FOUND_FILES,
     .back = pageFindFile,
     .next = [](HWND) { return int(pageDone); },
     .listId = IDC_WIZARD_FOUND_FILES,
     .columns = foundColumns,
     .activate = fillFoundFiles,
     .doubleClick = openRowsFile},
};

}  // namespace

std::span<const WizardPage> findPages() { return find; }
