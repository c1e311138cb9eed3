#pragma once
// "Confirm Undo": asks before undoing one file action or one Control Panel
// session, named in the dialog.

#include <windows.h>

#include <functional>
#include <string>

struct ConfirmUndoChoices {
    std::function<void()> retrace;  // undo, then show where the result is
    std::function<void()> open;     // undo and open the result; empty: no "Open" button
    std::function<void(HWND owner)> preview;  // shows what the undo brings back; empty: no "Preview..."
    std::string notice;  // a line to read before choosing: the file changed since, or no earlier version
    bool earlierVersionAvailable = true;  // false: nothing could come back, so Cancel is the default
};

// Runs the dialog for the item (shown in display case) and carries out the
// choice before it closes, once however often its button is pressed.
// Returns 1 after "Retrace", 0 after "Open" or "Cancel".
int runConfirmUndoDialog(HWND owner, const std::string& item, int helpContext, const ConfirmUndoChoices& choices);
