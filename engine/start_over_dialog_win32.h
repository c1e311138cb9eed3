#pragma once
// The "Start Over" dialog: the user picks an hour, a program start or a boot,
// and everything recorded since is undone before Windows restarts.

#include <windows.h>

// Runs the dialog modally. Once the user has confirmed a point and the
// dialog has closed, undoes everything since, saves and asks Windows to
// restart; returns at once when the user cancels.
void showStartOver(HWND owner);
