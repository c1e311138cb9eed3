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

std::span<const ProgramSession> sessionsOfEntry(WizardEntryKind kind, int32_t entry) {
    return kind == WizardEntryKind::Applet ? sessionsOf(appletList, entry) : sessionsOf(programList, entry);
}

void fillSessions(HWND page, WizardEntryKind kind, int listId) {
    if (auto entry = entryToList(wizardSelection, kind))
        appendListRows(page, listId, settingSessionRows(sessionsOfEntry(kind, *entry), actionList));
}

void chooseSessionRow(HWND page, WizardEntryKind kind, int listId) {
    chooseSession(wizardSelection, kind, chosenRowValue(page, listId), derivedListsGeneration);
}

void fillSessionsToUndo(HWND page, WizardEntryKind kind) {
    if (auto choice = sessionChoice(wizardSelection, kind, derivedListsGeneration))
        appendListRows(page, IDC_WIZARD_LIST,
                       sessionsToUndoRows(sessionsOfEntry(kind, choice->entry), choice->session, actionList));
}

// Every listed session is undone, the newest first, as the page says.
int undoListedSessions(WizardEntryKind kind) {
    auto choice = sessionChoice(wizardSelection, kind, derivedListsGeneration);
    return undoAndFinish(choice ? settingsUndoOrder(sessionsOfEntry(kind, choice->entry), choice->session)
                                : std::vector<int32_t>{});
}

const WizardPage settingsUndo[] = {
    {.templateId = IDD_WIZARD_SETTINGS_PROGRAMS,
     .back = pageUndoKind,
     .next = [](HWND page) {
         chooseEntry(wizardSelection, chosenRowValue(page, IDC_WIZARD_PROGRAMS));
         return int(pageProgramSessions);
     },
     .listId = IDC_WIZARD_PROGRAMS,
     .columns = programColumns,
     .activate = [](HWND page) {
         appendListRows(page, IDC_WIZARD_PROGRAMS, programRows(programList, actionList, ProgramsListed::WithSettings));
     }},
    {.templateId = IDD_WIZARD_PROGRAM_SESSIONS,
     .back = pageSettingsPrograms,
     .next = [](HWND page) {
         chooseSessionRow(page, WizardEntryKind::Program, IDC_WIZARD_SESSIONS);
         return int(pageConfirmSettings);
     },
     .listId = IDC_WIZARD_SESSIONS,
     .columns = sessionColumns,
     .activate = [](HWND page) { fillSessions(page, WizardEntryKind::Program, IDC_WIZARD_SESSIONS); }},
    {.templateId = IDD_WIZARD_CONFIRM_SETTINGS,
     .back = pageProgramSessions,
     .next = [](HWND) { return undoListedSessions(WizardEntryKind::Program); },
     .listId = IDC_WIZARD_LIST,
     .columns = confirmationColumns,
     .activate = [](HWND page) { fillSessionsToUndo(page, WizardEntryKind::Program); }},
    {.templateId = IDD_WIZARD_APPLETS,
     .back = pageUndoKind,
     .next = [](HWND page) {
         chooseEntry(wizardSelection, chosenRowValue(page, IDC_WIZARD_LIST));
         return int(pageAppletSessions);
     },
     .listId = IDC_WIZARD_LIST,
     .columns = appletColumns,
     .activate = [](HWND page) { appendListRows(page, IDC_WIZARD_LIST, appletRows(appletList, actionList)); }},
    {.templateId = IDD_WIZARD_APPLET_SESSIONS,
     .back = pageApplets,
     .next = [](HWND page) {
         chooseSessionRow(page, WizardEntryKind::Applet, IDC_WIZARD_LIST);
         return int(pageConfirmApplet);
     },
     .listId = IDC_WIZARD_LIST,
     .columns = sessionColumns,
     .activate = [](HWND page) { fillSessions(page, WizardEntryKind::Applet, IDC_WIZARD_LIST); }},
    {.templateId = IDD_WIZARD_CONFIRM_APPLET,
     .back = pageAppletSessions,
     .next = [](HWND) { return undoListedSessions(WizardEntryKind::Applet); },
     .listId = IDC_WIZARD_LIST,
     .columns = sessionColumns,
     .activate = [](HWND page) { fillSessionsToUndo(page, WizardEntryKind::Applet); }},
};

}  // namespace

std::span<const WizardPage> settingsUndoPages() { return settingsUndo; }
