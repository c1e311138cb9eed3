#include "shell/startup_win32.h"

#include <windows.h>
#include <commctrl.h>

#include "database/action_list_file_win32.h"
#include "database/history_work.h"
#include "database/rebuild_win32.h"
#include "database/undo_bin_win32.h"
#include "monitor/monitor_devices_win32.h"
#include "settings/settings_store_win32.h"
#include "shell/main_window_win32.h"
#include "shell/tray_icon_win32.h"
#include "shell/tray_menu_win32.h"
#include "ui/busy_indicator_win32.h"

void runStartup() {
    // Every save of the settings, a bin moved at start-up's included, has
    // the monitors log again under the values saved.
    whenSettingsSaved([] {
        stopLogging();
        startLogging(StartMode::IfEnabled);
    });
    createMainWindow();

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    applyPendingBinMove();
    prepareUndoBinFolder();
    listUndoBinAhead();
    loadActionList();
    // The devices are not open yet: this rebuild's stop and start requests reach no driver.
    rebuildActionsAtStartUp();
    postHistoryWork(findTrayMenuEntries);

    Settings settings;
    loadSettings(settings);
    setTrayIcon(TrayOperation::Add, monitoringIcon(settings));

    openMonitorDevices();
    startBusyIndicator();
}
