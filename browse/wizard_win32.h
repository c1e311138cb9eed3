#pragma once
// The Retrace Wizard: a sheet in wizard mode that asks what to do and leads,
// page by page, to an undo (of a file action, a program's or a Control
// Panel applet's settings, or everything since a point in time) or to a
// file to open. It undoes on the Next of its confirmation pages, and saves
// the action list after each undo.

#include <windows.h>

// How the wizard ended. The file pages' "Details" closes it to ask for the
// file history, which shows more of each action; the caller opens that.
enum class WizardEnd { Closed, FileHistoryAsked };

// Runs the wizard from the page at that index until the user presses
// "Done" or "Cancel", or asks for the file history.
WizardEnd runWizard(int startPage);
