#pragma once
// The undo of one file action, as chosen from the tray menu or the history.

#include <windows.h>

// Asks in "Confirm Undo" when the file action changed one file, else lists
// its files, all picked, and undoes the ones still picked. Returns 1 when it
// undid, 0 when the user cancelled or opened the restored file.
int showFileUndo(HWND owner, int groupIndex);

// "Confirm Undo" for the record at `actionIndex`: "Retrace" clears the redo
// list, undoes and shows the folder of the result; "Open" undoes, keeping
// the redo list, and opens the result.
int confirmFileActionUndo(HWND owner, int actionIndex);
