// The wizard's first pages, where the user says what to do, and its last.

#include <windows.h>

#include <commctrl.h>

#include "browse/wizard_pages_win32.h"
#include "res/resource.h"

namespace {

void enableBack(HWND page, bool enable) { EnableWindow(GetDlgItem(GetParent(page), IDC_WIZARD_BACK), enable); }

constexpr RadioChoice tasks[] = {
    {IDC_WIZARD_UNDO, pageUndoKind},
    {IDC_WIZARD_START_OVER, pageStartOver},
    {IDC_WIZARD_FIND, pageFindFile},
};

constexpr RadioChoice undoKinds[] = {
    {IDC_WIZARD_FILE_ACTION, pageFindHow},
    {IDC_WIZARD_PROGRAM_SETTINGS, pageSettingsPrograms},
    {IDC_WIZARD_CONTROL_PANEL, pageApplets},
};

constexpr RadioChoice findWays[] = {
    {IDC_WIZARD_BY_FILE_NAME, pageByFileName},
    {IDC_WIZARD_BY_PROGRAM, pageByProgram},
};

const WizardPage opening[] = {
    {.templateId = IDD_WIZARD_WELCOME,
     .next = [](HWND page) {
         enableBack(page, true);
         return sheetsOwnMove;
     },
     .activate = [](HWND page) { enableBack(page, false); }},
    {.templateId = IDD_WIZARD_TASK,
     .next = [](HWND page) { return chosenPage(page, tasks); },
     .activate = [](HWND page) { checkFirstChoice(page, tasks); }},
    {.templateId = IDD_WIZARD_UNDO_KIND,
     .back = pageTask,
     .next = [](HWND page) { return chosenPage(page, undoKinds); },
     .activate = [](HWND page) { checkFirstChoice(page, undoKinds); }},
    {.templateId = IDD_WIZARD_FIND_HOW,
     .back = pageUndoKind,
     .next = [](HWND page) { return chosenPage(page, findWays); },
     .activate = [](HWND page) { checkFirstChoice(page, findWays); }},
};

// The Finish button takes the place of Back and Next; it only closes.
const WizardPage done[] = {
    {.templateId = IDD_WIZARD_DONE, .activate = [](HWND page) { PropSheet_SetFinishText(GetParent(page), "Done"); }},
};

}  // namespace

std::span<const WizardPage> openingPages() { return opening; }
std::span<const WizardPage> donePages() { return done; }
