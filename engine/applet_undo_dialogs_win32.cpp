#include "engine/applet_undo_dialogs_win32.h"

#include "database/action_list.h"
#include "database/action_list_file_win32.h"
#include "database/derived_lists.h"
#include "engine/confirm_undo_dialog_win32.h"
#include "engine/confirmation_rows.h"
#include "engine/file_undo_win32.h"
#include "engine/list_confirmation_dialog_win32.h"
#include "engine/redo_win32.h"
#include "engine/session_undo.h"
#include "engine/undo_preview_win32.h"
#include "settings/settings_store_win32.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/list_texts.h"

namespace {

constexpr ListColumn sessionColumns[] = {{"Date", 80}, {"Time", 80}};

// Saved before the question: a restart must not lose what was just undone.
void undoSessionsAndOfferRestart(const AppletEntry& applet, size_t oldestChosen) {
    undoActions(appletSessionsUndoOrder(applet.sessions, oldestChosen));
    saveActionList();
    offerReboot("You will need to reboot for the changes to take effect.");
}

int confirmOnlySession(HWND owner, const AppletEntry& applet) {
    ConfirmUndoChoices choices;
    choices.retrace = [&applet] {
        clearRedo();
        undoSessionsAndOfferRestart(applet, applet.sessions.size() - 1);
    };
    choices.preview = [&applet](HWND dialog) {
        showSessionPreview(dialog, appletSessionsUndoOrder(applet.sessions, applet.sessions.size() - 1));
    };
    return runConfirmUndoDialog(owner, applet.appletPath, helpConfirmAppletUndo, choices);
}

int chooseSessions(HWND owner, const AppletEntry& applet) {
    ListConfirmation confirmation;
    confirmation.caption = "Undo Control Panel Session - " + displayCase(applet.appletPath);
    confirmation.columns = sessionColumns;
    confirmation.rows = appletSessionRows(applet, actionList);
    confirmation.choice = RowChoice::PickRows;
    confirmation.sizeShare = 2.0 / 3.0;
    confirmation.helpContext = helpUndoAppletSession;
    // The row's value names its session, so a sorted list undoes what it shows.
    confirmation.retrace = [&applet](const std::vector<int32_t>& picked) {
        if (picked.empty() || picked.front() < 0) return;
        undoSessionsAndOfferRestart(applet, size_t(picked.front()));
    };
    return runListConfirmation(owner, confirmation);
}

}  // namespace

int showAppletUndo(HWND owner, int appletIndex) {
    if (appletIndex < 0 || size_t(appletIndex) >= appletList.size()) return 0;
    const AppletEntry& applet = appletList[size_t(appletIndex)];
    if (applet.sessions.empty()) return 0;
    if (applet.sessions.size() == 1) return confirmOnlySession(owner, applet);
    return chooseSessions(owner, applet);
}
