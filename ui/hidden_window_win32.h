#pragma once
// The program's two never-shown windows, the main window and the busy
// thread's, are made the same way.

#include <windows.h>

// Registers a window class of that name with the procedure (redraw styles,
// arrow cursor, window colour, no icon, no menu) and creates a zero-width
// window of it titled with the same name. Failures give a null handle.
HWND createHiddenWindow(const char* name, WNDPROC procedure);
