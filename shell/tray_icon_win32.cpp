#include "shell/tray_icon_win32.h"


#include "res/resource.h"
#include "shell/main_window_win32.h"

void setTrayIcon(TrayOperation operation, int iconResource) {
    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = mainWindow;
    icon.uID = 0;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = trayNotifyMessage;
    icon.hIcon = static_cast<HICON>(
        LoadImageA(appInstance, MAKEINTRESOURCEA(iconResource), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR | LR_SHARED));
    lstrcpynA(icon.szTip, "Retrace", sizeof icon.szTip);
    Shell_NotifyIconA(static_cast<DWORD>(operation), &icon);
}

int monitoringIcon(const Settings& settings) {
    return settings.EnableDriver ? IDI_MONITORING_ON : IDI_MONITORING_OFF;
}
