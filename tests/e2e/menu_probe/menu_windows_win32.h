#pragma once
// The windows of the pop-up menus a process shows, found from inside it or
// from outside alike.

#include <windows.h>

#include <vector>

// The visible pop-up menu windows (class "#32768") of the process: the
// tracked menu's and those of the submenus opened from it.
std::vector<HWND> menuWindowsOf(DWORD processId);
