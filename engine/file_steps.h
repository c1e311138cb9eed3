#pragma once
// What undoing or redoing one file action does on disk, decided from its
// record alone; the Win32 side carries the step out.

#include <string>
#include <string_view>

#include "database/action_record.h"
#include "engine/redo_list.h"

struct FileStep {
    enum class Operation {
        Nothing,         // there is nothing to do: the action fails
        Recycle,         // send `from` to the Recycle Bin
        RestoreBeside,   // decode the saved copy `from` into a restore file beside `to`
        Move,            // move `from` to `to`, which must be free
        Copy,            // copy `from` to `to`, which must be free
        CopyThenDelete,  // copy `from` to `to`, which must be free, then delete `from`
        Delete,          // delete `from`
    };
    Operation operation = Operation::Nothing;
    std::string from;
    std::string to;
};

// Whether a move between the two paths stays on one drive: their first
// bytes are equal, case counting. "c:\" against "C:\" counts as two
// drives, and such a move is made by copy and delete, which works either way.
bool onSameDrive(std::string_view a, std::string_view b);

// Puts the file system back as it was before the action.
FileStep undoStep(const ActionRecord& record);

// Repeats the action an entry's undo took back. A Create or Copy comes back
// from its kept file; a Delete or Modify takes away the restore file its
// undo wrote, never the file that holds the name now.
FileStep redoStep(const RedoEntry& entry);
