#pragma once
// The undo of a program's sessions, or of one file it changed.

#include <windows.h>

// Shows the files the program's runs changed and the runs themselves. A file
// picked goes to "Confirm Undo"; a run picked is undone with every newer
// run, its settings alone or with its files, once the list of what that
// takes is confirmed. Returns 1 when the dialog ended by an undo or its
// attempt, 0 after "Cancel".
int showProgramUndo(HWND owner, int programIndex);
