#pragma once
// The rebuild: the one place where new changes enter the action database.
// It runs at start-up and on every tray click, before the menu is built.

// Stops logging, folds both reports into actionList in time order, derives
// every record's flags, keeps the Undo Bin in bounds, saves the list,
// deletes the reports, starts logging again when monitoring is on, and
// rebuilds the derived lists.
//
// While the stored history could not be read at start-up, the reports are
// left for the next start instead: they could not be saved, and deleting
// them would lose what they hold.
void rebuildActions();
