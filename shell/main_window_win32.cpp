#include "shell/main_window_win32.h"

#include "browse/find_sheet_win32.h"
#include "browse/history_dialog_win32.h"
#include "browse/wizard_win32.h"
#include "database/action_list_file_win32.h"
#include "database/derived_lists.h"
#include "database/history_work.h"
#include "database/rebuild_win32.h"
#include "engine/applet_undo_dialogs_win32.h"
#include "engine/file_undo_dialogs_win32.h"
#include "engine/program_undo_dialog_win32.h"
#include "engine/redo_win32.h"
#include "engine/start_over_dialog_win32.h"
#include "monitor/monitor_devices_win32.h"
#include "options/options_sheet_win32.h"
#include "res/resource.h"
#include "settings/settings_store_win32.h"
#include "shell/tray_icon_win32.h"
#include "shell/tray_menu.h"
#include "shell/tray_menu_win32.h"
#include "ui/busy_indicator_win32.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/hidden_window_win32.h"

HWND mainWindow = nullptr;
int commandBusy = 0;

namespace {

void toggleMonitoring() {
    Settings settings;
    loadSettings(settings);
    if (settings.EnableDriver)
        stopLogging();
    else
        startLogging(StartMode::Always);
    settings.EnableDriver = !settings.EnableDriver;
    // Refused, the save has restarted logging as the key still has it.
    if (!saveSettingsOrTell(nullptr, settings)) return;
    setTrayIcon(TrayOperation::Modify, monitoringIcon(settings));
}

void onTrayLeftClick() {
    // A message box shown by the rebuild runs its own message loop, which
    // delivers further clicks here: they must not start a rebuild inside it.
    static bool handlingClick = false;
    if (handlingClick) return;
    if (commandBusy) {
        if (IsWindow(lastDialog)) SetForegroundWindow(lastDialog);
        return;
    }
    handlingClick = true;
    POINT cursor;
    GetCursorPos(&cursor);
    setTrayIcon(TrayOperation::Modify, IDI_BUSY);
    // What the click leaves to the background starts once the menu shows:
    // run beside it, it would slow the menu down.
    holdHistoryWork();
    rebuildActionsForMenu();
    hideBusyIndicator();
    Settings settings;
    loadSettings(settings);
    HMENU menu = buildTrayMenu();
    // Foreground first, or the menu stays open when the user clicks elsewhere.
    SetForegroundWindow(mainWindow);
    TrackPopupMenu(menu, TPM_BOTTOMALIGN, cursor.x, cursor.y, 0, mainWindow, nullptr);
    releaseHistoryWork();
    // Lets the menu close properly when it was dismissed; the handler ignores it.
    PostMessageA(mainWindow, trayNotifyMessage, 0, 0);
    DestroyMenu(menu);
    setTrayIcon(TrayOperation::Modify, monitoringIcon(settings));
    handlingClick = false;
}

void showTrayIconAgain() {
    Settings settings;
    loadSettings(settings);
    setTrayIcon(TrayOperation::Add, monitoringIcon(settings));
}

// The three kinds of entries the user undoes by: each has ten commands for
// its newest entries, newest first, and one for the history of them all.
struct UndoSection {
    unsigned firstEntry;
    unsigned lastEntry;
    unsigned history;
    HistoryForm form;
    int (*showUndo)(HWND owner, int index);
    size_t (*entryCount)();
};

const UndoSection undoSections[] = {
    {IDM_PROGRAM_FIRST, IDM_PROGRAM_LAST, IDM_PROGRAM_MORE, HistoryForm::Programs, showProgramUndo,
     [] { return programList.size(); }},
    {IDM_FILE_FIRST, IDM_FILE_LAST, IDM_FILE_MORE, HistoryForm::Files, showFileUndo,
     [] { return fileActionList.size(); }},
    {IDM_APPLET_FIRST, IDM_APPLET_LAST, IDM_APPLET_MORE, HistoryForm::Applets, showAppletUndo,
     [] { return appletList.size(); }},
};

// Opens the undo of an entry, picked by its command or from the history;
// false when the identifier belongs to no section.
bool runUndoSection(unsigned identifier) {
    for (const UndoSection& section : undoSections) {
        if (identifier >= section.firstEntry && identifier <= section.lastEntry) {
            section.showUndo(mainWindow, entryIndexOfCommand(identifier, section.firstEntry, section.entryCount()));
            return true;
        }
        if (identifier == section.history) {
            int index = runHistoryDialog(mainWindow, section.form);
            if (index != -1) section.showUndo(mainWindow, index);
            return true;
        }
    }
    return false;
}

// Carries out a command that may change records, which are then saved;
// false for an identifier that is no such command.
bool runRecordCommand(unsigned identifier) {
    switch (identifier) {
    case IDM_REDO:
        redoLastUndo();
        return true;
    case IDM_HELP:
        showHelp(mainWindow, helpContents);
        return true;
    case IDM_START_OVER:
        showStartOver(mainWindow);
        return true;
    case IDM_WIZARD:
        // The file history's own undo may follow: it opens once the wizard has closed.
        if (runWizard(0) == WizardEnd::FileHistoryAsked) runUndoSection(IDM_FILE_MORE);
        return true;
    }
    return runUndoSection(identifier);
}

// Runs one command of the tray menu. Every command but Unload holds
// commandBusy while it runs, so that tray clicks from inside its dialogs
// only bring the dialog forward.
void runCommand(unsigned identifier) {
    // The click's save and sweep may still be running; a command sees the
    // history they leave, and its own save follows theirs.
    waitForHistoryWork();
    if (identifier == IDM_UNLOAD) {
        DestroyWindow(mainWindow);
        return;
    }
    commandBusy = 1;
    // Find and Options change no record; the bin that Options may clear
    // saves its own list.
    if (identifier == IDM_TOGGLE_MONITORING)
        toggleMonitoring();
    else if (identifier == IDM_FIND)
        runFindSheet();
    else if (identifier == IDM_OPTIONS)
        showOptionsSheet();
    else if (runRecordCommand(identifier))
        saveActionList();
    commandBusy = 0;
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const UINT idleQuery = RegisterWindowMessageA(idleQueryMessageName);
    static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    if (message == idleQuery && idleQuery != 0) {
        waitForHistoryWork();
        return 1;
    }
    if (message == taskbarCreated && taskbarCreated != 0) {
        // A shell started anew knows no icons, and the icon is the only way in.
        showTrayIconAgain();
        return 0;
    }
    switch (message) {
    case WM_ENTERIDLE:
        // The tray menu shows and waits for the person.
        if (wParam == MSGF_MENU) releaseHistoryWork();
        break;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
        // Windows may end the process as soon as these are answered.
        waitForHistoryWork();
        break;
    case WM_DESTROY:
        // The program ends only once the last save is on disk.
        waitForHistoryWork();
        setTrayIcon(TrayOperation::Delete, IDI_MONITORING_ON);
        closeMonitorDevices();
        PostQuitMessage(0);
        break;
    case WM_COMMAND:
        runCommand(LOWORD(wParam));
        break;
    case trayNotifyMessage:
        // Of the mouse messages only the left button's press is acted on.
        if (lParam == WM_LBUTTONDOWN) onTrayLeftClick();
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void createMainWindow() { mainWindow = createHiddenWindow(mainWindowClass, mainWindowProc); }
