// The wizard's settings branches: a program's sessions or a Control Panel
// applet's, from a chosen session on, and the confirmations that undo them.
// The two branches differ only in their entries and lists.

#include "browse/wizard_pages_win32.h"
#include "browse/wizard_rows.h"
#include "database/action_list.h"
#include "res/resource.h"

namespace {

constexpr ListColumn appletColumns[] = {{"Applet", 180}, {"Date", 80}, {"Time", 500}};
constexpr ListColumn sessionColumns[] = {{"Date", 90}, {"Time", 500}};
constexpr ListColumn confirmationColumns[] = {{"Date", 90}, {"Time", 90}};

// What sets one branch apart from the other.
struct SessionBranch {
    WizardEntryKind kind;
    int entriesPage;
    int sessionsPage;
    int confirmationPage;
    int entriesList;
    int sessionsList;
};

constexpr SessionBranch programs{WizardEntryKind::Program, pageSettingsPrograms, pageProgramSessions,
                                 pageConfirmSettings, IDC_WIZARD_PROGRAMS, IDC_WIZARD_SESSIONS};
constexpr SessionBranch applets{WizardEntryKind::Applet, pageApplets, pageAppletSessions, pageConfirmApplet,
                                IDC_WIZARD_LIST, IDC_WIZARD_LIST};

std::span<const ProgramSession> sessionsOfEntry(WizardEntryKind kind, int32_t entry) {
    return kind == WizardEntryKind::Applet ? sessionsOf(appletList, entry) : sessionsOf(programList, entry);
}

// Every listed session is undone, the newest first, as the page says.
int undoListedSessions(WizardEntryKind kind) {
    auto choice = sessionChoice(wizardSelection, kind, derivedListsGeneration);
    return undoAndFinish(choice ? settingsUndoOrder(sessionsOfEntry(kind, choice->entry), choice->session)
                                : std::vector<int32_t>{});
}

// The programs or applets; Next keeps the chosen one for the sessions page.
template <SessionBranch branch>
WizardPage entriesPage(int templateId, std::span<const ListColumn> columns, void (*fill)(HWND page)) {
    return {.templateId = templateId,
            .back = pageUndoKind,
            .next = [](HWND page) {
                chooseEntry(wizardSelection, chosenRowValue(page, branch.entriesList));
                return branch.sessionsPage;
            },
            .listId = branch.entriesList,
            .columns = columns,
            .activate = fill};
}

template <SessionBranch branch>
WizardPage sessionsPage(int templateId) {
    return {.templateId = templateId,
            .back = branch.entriesPage,
            .next = [](HWND page) {
                chooseSession(wizardSelection, branch.kind, chosenRowValue(page, branch.sessionsList),
                              derivedListsGeneration);
                return branch.confirmationPage;
            },
            .listId = branch.sessionsList,
            .columns = sessionColumns,
            .activate = [](HWND page) {
                if (auto entry = entryToList(wizardSelection, branch.kind))
                    appendListRows(page, branch.sessionsList,
                                   settingSessionRows(sessionsOfEntry(branch.kind, *entry), actionList));
            },
            // The entry the page lists, or last listed when Back leads to it.
            .title = [] {
                return branch.kind == WizardEntryKind::Applet
                           ? appletSessionsTitle(appletList, wizardSelection.rememberedApplet)
                           : programSessionsTitle(programList, wizardSelection.rememberedProgram, actionList);
            }};
}

template <SessionBranch branch>
WizardPage confirmationPage(int templateId, std::span<const ListColumn> columns) {
    return {.templateId = templateId,
            .back = branch.sessionsPage,
            .next = [](HWND) { return undoListedSessions(branch.kind); },
            .listId = IDC_WIZARD_LIST,
            .columns = columns,
            .activate = [](HWND page) {
                if (auto choice = sessionChoice(wizardSelection, branch.kind, derivedListsGeneration))
                    appendListRows(page, IDC_WIZARD_LIST,
                                   sessionsToUndoRows(sessionsOfEntry(branch.kind, choice->entry), choice->session,
                                                      actionList));
            }};
}

const WizardPage settingsUndo[] = {
    entriesPage<programs>(IDD_WIZARD_SETTINGS_PROGRAMS, programColumns,
                          [](HWND page) {
                              appendListRows(page, programs.entriesList,
                                             programRows(programList, actionList, ProgramsListed::WithSettings));
                          }),
    sessionsPage<programs>(IDD_WIZARD_PROGRAM_SESSIONS),
    confirmationPage<programs>(IDD_WIZARD_CONFIRM_SETTINGS, confirmationColumns),
    entriesPage<applets>(IDD_WIZARD_APPLETS, appletColumns,
                         [](HWND page) {
                             appendListRows(page, applets.entriesList, appletRows(appletList, actionList));
                         }),
    sessionsPage<applets>(IDD_WIZARD_APPLET_SESSIONS),
    confirmationPage<applets>(IDD_WIZARD_CONFIRM_APPLET, sessionColumns),
};

}  // namespace

std::span<const WizardPage> settingsUndoPages() { return settingsUndo; }
