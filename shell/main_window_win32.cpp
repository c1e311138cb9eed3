#include "shell/main_window_win32.h"

#include "browse/dialog_toolkit_win32.h"
#include "database/action_list_file_win32.h"
#include "database/history_work.h"
#include "database/rebuild_win32.h"
#include "engine/redo_win32.h"
#include "monitor/monitor_devices_win32.h"
#include "shell/busy_indicator_win32.h"
#include "shell/hidden_window_win32.h"
#include "shell/tray_menu_win32.h"
#include "res/resource.h"
#include "settings/settings_store_win32.h"
#include "shell/tray_icon_win32.h"

HINSTANCE appInstance = nullptr;
HWND mainWindow = nullptr;
int commandBusy = 0;
HWND lastDialog = nullptr;

namespace {

void toggleMonitoring() {
    Settings settings;
    loadSettings(settings);
    if (settings.EnableDriver)
        stopLogging();
    else
        startLogging(StartMode::Always);
    settings.EnableDriver = !settings.EnableDriver;
    saveSettings(settings);
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
    rebuildActionsForMenu();
    hideBusyIndicator();
    Settings settings;
    loadSettings(settings);
    HMENU menu = buildTrayMenu();
    // Foreground first, or the menu stays open when the user clicks elsewhere.
    SetForegroundWindow(mainWindow);
    TrackPopupMenu(menu, TPM_BOTTOMALIGN, cursor.x, cursor.y, 0, mainWindow, nullptr);
    // Lets the menu close properly when it was dismissed; the handler ignores it.
    PostMessageA(mainWindow, trayNotifyMessage, 0, 0);
    DestroyMenu(menu);
    setTrayIcon(TrayOperation::Modify, monitoringIcon(settings));
    handlingClick = false;
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
    switch (identifier) {
    case IDM_REDO:
        redoLastUndo();
        saveActionList();
        break;
    case IDM_HELP:
        showHelp(mainWindow, helpContents);
        saveActionList();
        break;
    case IDM_TOGGLE_MONITORING:
        toggleMonitoring();
        break;
    }
    commandBusy = 0;
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const UINT idleQuery = RegisterWindowMessageA(idleQueryMessageName);
    if (message == idleQuery && idleQuery != 0) {
        waitForHistoryWork();
        return 1;
    }
    switch (message) {
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
