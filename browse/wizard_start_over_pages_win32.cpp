// The wizard's Start Over branch: a kind of point in time, one such point,
// and the confirmation that undoes the records marking the points from the
// newest back to it. It restarts nothing and restores no system file.

#include "browse/wizard_pages_win32.h"
#include "browse/wizard_rows.h"
#include "database/action_list.h"
#include "engine/redo_win32.h"
#include "res/resource.h"

namespace {

constexpr ListColumn pointColumns[] = {{"Date", 90}, {"Time", 500}};
constexpr ListColumn programStartColumns[] = {{"Program", 90}, {"Date", 90}, {"Time", 500}};
constexpr ListColumn confirmationColumns[] = {{"Program", 90}, {"Date", 90}, {"Time", 90}};

constexpr RadioChoice pointKinds[] = {
    {IDC_WIZARD_BY_TIME, pageHours},
    {IDC_WIZARD_BY_PROGRAM_START, pageProgramStarts},
    {IDC_WIZARD_BY_REBOOT, pageBoots},
};

// A list of points of one kind; Next keeps the chosen one for the confirmation.
template <StartOverPoint point, int listId>
WizardPage pointsPage(int templateId, std::span<const ListColumn> columns) {
    return {.templateId = templateId,
            .back = pageStartOver,
            .next = [](HWND page) {
                chooseStartOverPoint(wizardSelection, point, chosenRowValue(page, listId));
                return int(pageConfirmStartOver);
            },
            .listId = listId,
            .columns = columns,
            .activate = [](HWND page) {
                appendListRows(page, listId, startOverPointRows(actionIndex, point, actionList));
            }};
}

void fillConfirmation(HWND page) {
    if (auto choice = startOverChoice(wizardSelection, actionIndex))
        appendListRows(page, IDC_WIZARD_LIST, startOverRows(actionIndex, *choice, actionList));
}

// As Start Over's own dialog: what it undid is not offered for redo.
int undoFromChosenPoint(HWND) {
    auto choice = startOverChoice(wizardSelection, actionIndex);
    const int next = undoAndFinish(choice ? startOverRecords(actionIndex, *choice) : std::vector<int32_t>{});
    clearRedo();
    return next;
}

const WizardPage startOver[] = {
    {.templateId = IDD_WIZARD_START_OVER,
     .back = pageTask,
     .next = [](HWND page) { return chosenPage(page, pointKinds); },
     .activate = [](HWND page) { checkFirstChoice(page, pointKinds); }},
    pointsPage<StartOverPoint::Hour, IDC_WIZARD_HOURS>(IDD_WIZARD_HOURS, pointColumns),
    pointsPage<StartOverPoint::ProgramStart, IDC_WIZARD_PROGRAM_STARTS>(IDD_WIZARD_PROGRAM_STARTS,
                                                                        programStartColumns),
    pointsPage<StartOverPoint::Boot, IDC_WIZARD_BOOTS>(IDD_WIZARD_BOOTS, pointColumns),
    {.templateId = IDD_WIZARD_CONFIRM_START_OVER,
     .back = pageStartOver,
     .next = undoFromChosenPoint,
     .listId = IDC_WIZARD_LIST,
     .columns = confirmationColumns,
     .activate = fillConfirmation},
};

}  // namespace

std::span<const WizardPage> startOverPages() { return startOver; }
