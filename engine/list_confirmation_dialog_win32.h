#pragma once
// The list confirmation: shows in a list what an undo is about to take back
// and asks before it does.

#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "ui/list_view_win32.h"

enum class RowChoice {
    PickRows,    // the user selects rows; none at first
    AllPicked,   // every row starts selected, and the user may deselect some
    ShowOnly,    // the rows only inform: no row ever shows as selected
};

struct ListConfirmation {
    std::string caption;
    std::span<const ListColumn> columns;
    std::vector<ListRow> rows;
    RowChoice choice = RowChoice::ShowOnly;
    bool sortable = true;      // column clicks sort; otherwise the rows keep their order
    double sizeShare = 1.0;    // of the template's width and height, when a few rows need less
    int helpContext = 0;
    // Carries out "Retrace" before the dialog closes, given the values of the
    // selected rows from the top. Empty: "Retrace" only closes the dialog.
    std::function<void(const std::vector<int32_t>& pickedValues)> retrace;
    // Shows what the undo would bring back, given the same values; empty:
    // no "Preview..." button.
    std::function<void(HWND owner, const std::vector<int32_t>& pickedValues)> preview;
};

// Runs the dialog; 1 after "Retrace", 0 after "Cancel".
int runListConfirmation(HWND owner, const ListConfirmation& confirmation);
