#pragma once
// The program's icon in the notification area, registered on mainWindow.

#include <windows.h>
#include <shellapi.h>

#include "settings/settings.h"

// The shell reports mouse events on the icon with this message.
inline constexpr UINT trayNotifyMessage = WM_USER;

enum class TrayOperation { Add = NIM_ADD, Modify = NIM_MODIFY, Delete = NIM_DELETE };

// Adds, changes or removes the icon, showing the icon resource given.
void setTrayIcon(TrayOperation operation, int iconResource);

// The icon that shows whether monitoring is on: 101, or 102 when it is off.
int monitoringIcon(const Settings& settings);
