#pragma once
// The undo of a Control Panel applet's sessions.

#include <windows.h>

// Asks in "Confirm Undo" when the applet ran once, else lists its sessions
// for the user to pick the oldest one to undo. Undoes, saves the action list
// and offers to restart Windows, which applets' changes need. Returns 1 when
// it undid, 0 when the user cancelled.
int showAppletUndo(HWND owner, int appletIndex);
