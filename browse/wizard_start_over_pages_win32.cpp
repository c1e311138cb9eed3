// The wizard's Start Over branch: a kind of point in time, one such point,
// and the confirmation that undoes the records marking the points from the
// newest back to it. It restarts nothing and restores no system file.

#include "browse/wizard_pages_win32.h"
#include "browse/wizard_rows.h"
#include "database/action_list.h"
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

void fillPoints(HWND page, StartOverPoint point, int listId) {
    appendListRows(page, listId, startOverPointRows(actionIndex, point, actionList));
}

int choosePoint(HWND page, StartOverPoint point, int listId) {
    chooseStartOverPoint(wizardSelection, point, chosenRowValue(page, listId));
    return pageConfirmStartOver;
}

void fillConfirmation(HWND page) {
    if (auto choice = startOverChoice(wizardSelection, actionIndex))
        appendListRows(page, IDC_WIZARD_LIST, startOverRows(actionIndex, *choice, actionList));
}

int undoFromChosenPoint(HWND) {
    auto choice = startOverChoice(wizardSelection, actionIndex);
    return undoAndFinish(choice ? startOverRecords(actionIndex, *choice) : std::vector<int32_t>{});
}

const WizardPage startOver[] = {
    {.templateId = IDD_WIZARD_START_OVER,
     .back = pageTask,
     .next = [](HWND page) { return chosenPage(page, pointKinds); },
     .activate = [](HWND page) { checkFirstChoice(page, pointKinds); }},
    {.templateId = IDD_WIZARD_HOURS,
     .back = pageStartOver,
     .next = [](HWND page) { return choosePoint(page, StartOverPoint::Hour, IDC_WIZARD_HOURS); },
     .listId = IDC_WIZARD_HOURS,
     .columns = pointColumns,
     .activate = [](HWND page) { fillPoints(page, StartOverPoint::Hour, IDC_WIZARD_HOURS); }},
    {.templateId = IDD_WIZARD_PROGRAM_STARTS,
     .back = pageStartOver,
     .next = [](HWND page) { return choosePoint(page, StartOverPoint::ProgramStart, IDC_WIZARD_PROGRAM_STARTS); },
     .listId = IDC_WIZARD_PROGRAM_STARTS,
     .columns = programStartColumns,
     .activate = [](HWND page) { fillPoints(page, StartOverPoint::ProgramStart, IDC_WIZARD_PROGRAM_STARTS); }},
    {.templateId = IDD_WIZARD_BOOTS,
     .back = pageStartOver,
     .next = [](HWND page) { return choosePoint(page, StartOverPoint::Boot, IDC_WIZARD_BOOTS); },
     .listId = IDC_WIZARD_BOOTS,
     .columns = pointColumns,
     .activate = [](HWND page) { fillPoints(page, StartOverPoint::Boot, IDC_WIZARD_BOOTS); }},
    {.templateId = IDD_WIZARD_CONFIRM_START_OVER,
     .back = pageStartOver,
     .next = undoFromChosenPoint,
     .listId = IDC_WIZARD_LIST,
     .columns = confirmationColumns,
     .activate = fillConfirmation},
};

}  // namespace

std::span<const WizardPage> startOverPages() { return startOver; }
