#pragma once
// Report-view lists inside dialogs. A list is named by its dialog and the
// list control's identifier there; rows by their index from the top. Every row
// carries one hidden value, an index into the collection it shows, and within
// one list these values are distinct. Operations on a list that does not
// exist do nothing.

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "ui/list_texts.h"

// Inserts a left-aligned column with that header and width at that index.
void insertListColumn(HWND dialog, int listId, const std::string& header, int column, int width);

// A column of a list as a dialog first shows it: its header and its width in
// pixels until texts refit it.
struct ListColumn {
    const char* header;
    int width;
};

// Makes a list select whole rows and gives it its columns, left to right.
void setUpList(HWND dialog, int listId, std::span<const ListColumn> columns);

// Appends the rows below those the list holds, in order; each with the
// image at that index of the list's small image list given for it, if any.
//
// A list made with LVS_OWNERDATA keeps no rows itself: this toolkit keeps
// them and hands the list the cells of the rows it shows, so that filling,
// fitting and sorting cost nothing per row out of sight, and 100,000 rows
// show at once. Every operation here works on both kinds of list alike.
void appendListRows(HWND dialog, int listId, std::span<const ListRow> rows, std::span<const int> images = {});

// The rows selected now, from the top; the first of them, or -1.
std::vector<int> selectedListRows(HWND dialog, int listId);
int firstSelectedListRow(HWND dialog, int listId);

// Selects every row and focuses the top one; or clears every row's
// selection and focus.
void selectAllListRows(HWND dialog, int listId);
void clearListSelection(HWND dialog, int listId);

// Inserts a row with its text in column 0 and its hidden value, with the image
// at that index of the list's small image list unless `image` is -1. Column 0
// is refitted (fitListColumn) before the list next shows or tells its widths.
void insertListItem(HWND dialog, int listId, int image, const std::string& text, int row, int value);

// Sets the text of one cell of a row; its column is refitted as above.
void setListSubItem(HWND dialog, int listId, const std::string& text, int row, int column);

// Widens or narrows the column at once to the wider of its texts and its
// header; the last column fills the rest of the list. So a column keeps the
// width given to insertListColumn only while the list is empty. Returns
// whether the list took the width.
bool fitListColumn(HWND dialog, int listId, int column);

// The text of one cell; empty when there is no such cell.
std::string listItemText(HWND dialog, int listId, int row, int column);

// The row at the height of the pointer when the message being handled was
// sent, wherever the pointer is along it; -1 when no row is there.
int listRowUnderPointer(HWND dialog, int listId);

// The hidden value of a row; -1 for row -1 (asking nothing of the list) and
// for a row that does not exist.
int listItemParam(HWND dialog, int listId, int row);

// Sorts the rows by the texts of a column: ascending, or descending when the
// same column of the same list was the last one sorted ascending. So clicking
// one header sorts up, down, up; another header or another list starts up.
// A column whose every cell is a plain number sorts by value, others as text.
void sortListByColumn(HWND dialog, int listId, int column);

// A file's small and large icons as the shell shows them. The icons belong
// to this value and go with it; image lists keep copies (ImageList_AddIcon).
class FileIcons {
public:
    FileIcons(HICON smallIcon, HICON largeIcon) : small_(smallIcon), large_(largeIcon) {}
    ~FileIcons();
    FileIcons(const FileIcons&) = delete;
    FileIcons& operator=(const FileIcons&) = delete;

    HICON smallIcon() const { return small_; }
    HICON largeIcon() const { return large_; }

private:
    HICON small_;
    HICON large_;
};

// The icons of a file; a path the shell does not know, such as a file that is
// gone, gets those of the Windows shell's own program (explorer.exe).
FileIcons fileIcons(const std::string& path);
