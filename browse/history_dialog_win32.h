#pragma once
// The history dialog: every program, file action or Control Panel applet,
// newest first, for the user to pick one to undo.

#include <windows.h>

enum class HistoryForm { Programs, Files, Applets };

// Runs the dialog in one form; returns the picked entry's index in that
// form's collection, or -1 when nothing was picked.
int runHistoryDialog(HWND owner, HistoryForm form);
