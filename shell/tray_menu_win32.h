#pragma once
// The pop-up menu a left click on the tray icon opens.

#include <windows.h>

// A new menu of the newest program sessions and file actions, the redo
// entry and the fixed commands, from the derived lists as the last rebuild
// left them. The caller tracks and destroys it.
HMENU buildTrayMenu();

// Finds the newest entries the menu shows, so that the first click looks
// only at the records it adds. Run as history work, behind start-up's.
void findTrayMenuEntries();
