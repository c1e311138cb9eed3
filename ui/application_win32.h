#pragma once
// What every window of the program shares: the module its resources come
// from, and the dialog a tray click brings forward.

#include <windows.h>

extern HINSTANCE appInstance;
// The dialog initialised most recently; never cleared, so it may be stale.
extern HWND lastDialog;
