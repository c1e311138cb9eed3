#pragma once
// The rows of a list made with LVS_OWNERDATA, kept for it by the list
// toolkit (list_view_win32.h), which alone uses this. Such a list holds no
// rows itself: it asks its dialog for the cells of the rows it paints, and
// the store answers for it. Filling, fitting and sorting then cost nothing
// per row out of sight, so that a dialog of 100,000 rows opens at once.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/list_texts.h"

struct StoredRow {
    ListRow content;
    int image = I_IMAGENONE;  // in the list's small image list
};
using RowStore = std::vector<StoredRow>;

// The store of a list made with LVS_OWNERDATA, made at its first use, with
// what answers the list's questions and keeps the store in step when rows
// are deleted through the list itself; null for a list that holds its own
// rows, and for no list. It goes with the list.
RowStore* rowStoreOf(HWND list);

// The text of a cell; empty for a column the row has no text in.
const std::string& storedCell(const StoredRow& row, int column);

// Tells the list how many rows there are now, and repaints it.
void showStoredRowCount(HWND list, const RowStore& rows);

// The widest of a column's texts in the list's font, in pixels.
int widestStoredText(HWND list, const RowStore& rows, int column);
