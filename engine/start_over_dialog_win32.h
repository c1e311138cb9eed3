#pragma once
// The "Start Over" dialog: the user picks an hour, a program start or a boot,
// and everything recorded since is undone before Windows restarts.

#include <windows.h>

// Runs the dialog modally; returns when the user cancels it.
void showStartOver(HWND owner);
