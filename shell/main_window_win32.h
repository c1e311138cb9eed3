#pragma once
// The hidden main window: it owns the tray icon, receives the tray menu's
// commands and carries them out on the main thread.

#include <windows.h>

#include "ui/application_win32.h"

inline constexpr const char* mainWindowClass = "Retrace";

// A registered message that the main window answers with 1 once the
// background work of the last tray click is done. Only tests send it: they
// read the action list and the bin that this work writes.
inline constexpr const char* idleQueryMessageName = "Retrace Idle Query";

extern HWND mainWindow;
// 1 while a menu command runs; guards against re-entry from the nested
// message loops of modal dialogs, not against other threads.
extern int commandBusy;

// Registers the window class and creates the hidden main window. Failures are
// ignored: start-up goes on without the window.
void createMainWindow();
