#pragma once
// "Undo find": the recorded file actions by kind, each tab refilled from the
// action list whenever it shows; "Open" opens the chosen file, or its folder.

#include <windows.h>

// Runs the sheet until the user closes it. It undoes nothing.
void runFindSheet();
