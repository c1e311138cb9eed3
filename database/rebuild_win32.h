#pragma once
// The rebuild: the one place where new changes enter the action database.
// It runs at start-up and on every tray click, before the menu is built.

// Stops logging, folds both reports into actionList in time order, derives
// every record's flags, keeps the Undo Bin in bounds, saves the list,
// deletes the reports, starts logging again when monitoring is on, and
// rebuilds the derived lists. Returns once all of it is done.
//
// While the stored history could not be read at start-up, the reports are
// left for the next start instead: they could not be saved, and deleting
// them would lose what they hold.
void rebuildActions();

// The same rebuild for the tray click, which returns once actionList holds
// the rebuilt history, so the menu can show. Saving the list, deleting the
// reports, sweeping the bin, starting logging again and building the derived
// lists go on as history work (history_work.h), in that order, while the
// menu shows: logging stays stopped until the new list is on disk and the
// reports are gone, as in rebuildActions.
void rebuildActionsForMenu();

// The start-up rebuild. When there were reports, it returns once the list
// is saved and the reports it took in are gone, so that what the monitors
// report from then on is kept; without reports the save joins the history
// work. Sweeping the bin, logging again and building the derived lists go on
// as history work while the program finishes starting.
void rebuildActionsAtStartUp();

// The File List changed: the next rebuild builds the data-file extensions
// anew and derives every record's flags with them.
void forgetDataFileExtensions();
