#include "ui/list_view_win32.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

#include "ui/list_row_store_win32.h"
#include "ui/list_texts.h"

namespace {
// The one sort state of the process, shared by every list of every dialog.
HWND lastSortedList = nullptr;
int lastSortedColumn = 0;
bool descending = false;

HWND listControl(HWND dialog, int listId) { return GetDlgItem(dialog, listId); }

std::string cellText(HWND list, int row, int column) {
    std::string text(MAX_PATH, '\0');
    for (;;) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = int(text.size());
        auto length = size_t(SendMessageA(list, LVM_GETITEMTEXTA, row, LPARAM(&item)));
        // A text that fills the buffer may have been cut: ask again with more room.
        if (length + 1 < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(text.size() * 2);
    }
}

// The width a header needs to show its whole title: the text in the
// header's font and the margins it draws on either side of it.
int headerTitleWidth(HWND list, int column) {
    HWND header = ListView_GetHeader(list);
    char title[MAX_PATH] = "";
    HDITEMA item{};
    item.mask = HDI_TEXT;
    item.pszText = title;
    item.cchTextMax = MAX_PATH;
    if (!header || !Header_GetItem(header, column, &item)) return 0;
    HDC dc = GetDC(header);
    HGDIOBJ previousFont = SelectObject(dc, HGDIOBJ(SendMessageA(header, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32A(dc, title, lstrlenA(title), &text);
    SelectObject(dc, previousFont);
    ReleaseDC(header, dc);
    return text.cx + 2 * Header_GetBitmapMargin(header) + 2;
}

bool fitStoredColumn(HWND list, const RowStore& rows, int column);

bool fitColumn(HWND list, int column) {
    if (const RowStore* rows = rowStoreOf(list)) return fitStoredColumn(list, *rows, column);
    ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE);
    int textsWidth = ListView_GetColumnWidth(list, column);
    ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE_USEHEADER);
    // Wine's fit to the header leaves it a pixel or two short, and a short
    // title shows cut ("Si...").
    int headerWidth = std::max(ListView_GetColumnWidth(list, column), headerTitleWidth(list, column));
    return ListView_SetColumnWidth(list, column, std::max(textsWidth, headerWidth));
}

// Fitting a column measures every row, so fitting at every insertion makes
// filling a list quadratic: 1,000 rows took two minutes under Wine. Instead
// the list fits the columns whose texts changed just before it paints or
// tells a width, the first moment a width can be seen. Only while columns
// wait does the list pass its messages through here.
using PendingColumns = std::set<int>;
constexpr const char* pendingProperty = "Retrace columns to fit";

LRESULT CALLBACK fitPendingColumnsFirst(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR pendingAddress) {
    switch (message) {
    case WM_PAINT:
    case LVM_GETCOLUMNWIDTH:
    case LVM_GETCOLUMNA:
    case LVM_GETCOLUMNW:
    case WM_NCDESTROY: {
        // The list is left as it was before the fits, which may paint.
        std::unique_ptr<PendingColumns> pending(reinterpret_cast<PendingColumns*>(pendingAddress));
        RemoveWindowSubclass(list, fitPendingColumnsFirst, 0);
        RemovePropA(list, pendingProperty);
        if (message != WM_NCDESTROY)
            for (int column : *pending) fitColumn(list, column);
        break;
    }
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

void refitBeforeShowing(HWND list, int column) {
    if (!list) return;
    auto* pending = static_cast<PendingColumns*>(GetPropA(list, pendingProperty));
    if (!pending) {
        pending = new PendingColumns;
        SetPropA(list, pendingProperty, pending);
        SetWindowSubclass(list, fitPendingColumnsFirst, 0, DWORD_PTR(pending));
    }
    pending->insert(column);
}

int columnCount(HWND list) { return Header_GetItemCount(ListView_GetHeader(list)); }

// As fitColumn, by measuring the stored texts: the list would ask for every row.
bool fitStoredColumn(HWND list, const RowStore& rows, int column) {
    // The list's margins either side of a cell's text, as it fits a column itself.
    constexpr int textMargins = 12;
    int width = rows.empty() ? 0 : widestStoredText(list, rows, column) + textMargins;
    if (column == 0 && ListView_GetImageList(list, LVSIL_SMALL)) width += GetSystemMetrics(SM_CXSMICON) + 4;
    width = std::max(width, headerTitleWidth(list, column));
    if (column == columnCount(list) - 1) {
        RECT client{};
        GetClientRect(list, &client);
        int rest = client.right;
        for (int other = 0; other < column; ++other) rest -= ListView_GetColumnWidth(list, other);
        width = std::max(width, rest);
    }
    return ListView_SetColumnWidth(list, column, width);
}

int rowValue(HWND list, int row) {
    if (const RowStore* rows = rowStoreOf(list))
        return row >= 0 && size_t(row) < rows->size() ? (*rows)[size_t(row)].content.value : -1;
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return SendMessageA(list, LVM_GETITEMA, 0, LPARAM(&item)) ? int(item.lParam) : -1;
}

// One column's texts, read once before the sort, and how they compare.
struct SortRequest {
    std::vector<std::string> cells;
    std::unordered_map<LPARAM, size_t> cellOfValue;
    ColumnOrder order;
    bool descending;
};

// Texts sort as Explorer sorts names: in the system's collation, case aside.
const TextCollation systemCollation = [](const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str());
};

int CALLBACK compareListRows(LPARAM value1, LPARAM value2, LPARAM requestAddress) {
    const auto& request = *reinterpret_cast<const SortRequest*>(requestAddress);
    int result = compareListTexts(request.cells[request.cellOfValue.at(value1)],
                                  request.cells[request.cellOfValue.at(value2)], request.order, systemCollation);
    return request.descending ? -result : result;
}
// Sorts the stored rows as the list would sort its own, and keeps the
// chosen rows chosen where they move to.
void sortStoredRows(HWND list, RowStore& rows, int column, bool descending) {
    std::vector<std::string> cells;
    cells.reserve(rows.size());
    for (const StoredRow& row : rows) cells.push_back(storedCell(row, column));
    const ColumnOrder order = columnOrderOf(cells);
    std::set<int32_t> chosen;
    for (int row = -1; (row = ListView_GetNextItem(list, row, LVNI_SELECTED)) != -1;)
        if (size_t(row) < rows.size()) chosen.insert(rows[size_t(row)].content.value);
    const int focusedRow = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    const int32_t focused = focusedRow >= 0 && size_t(focusedRow) < rows.size() ? rows[size_t(focusedRow)].content.value : -1;

    std::stable_sort(rows.begin(), rows.end(), [&](const StoredRow& a, const StoredRow& b) {
        const int result = compareListTexts(storedCell(a, column), storedCell(b, column), order, systemCollation);
        return descending ? result > 0 : result < 0;
    });

    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (size_t row = 0; row < rows.size(); ++row) {
        const int32_t value = rows[row].content.value;
        UINT state = (chosen.count(value) ? LVIS_SELECTED : 0) | (focusedRow >= 0 && value == focused ? LVIS_FOCUSED : 0);
        if (state) ListView_SetItemState(list, int(row), state, state);
    }
    InvalidateRect(list, nullptr, TRUE);
}
}  // namespace

void insertListColumn(HWND dialog, int listId, const std::string& header, int column, int width) {
    LVCOLUMNA description{};
    description.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    description.fmt = LVCFMT_LEFT;
    description.cx = width;
    description.pszText = const_cast<char*>(header.c_str());
    description.iSubItem = column;
    SendMessageA(listControl(dialog, listId), LVM_INSERTCOLUMNA, column, LPARAM(&description));
}

void insertListItem(HWND dialog, int listId, int image, const std::string& text, int row, int value) {
    HWND list = listControl(dialog, listId);
    if (RowStore* rows = rowStoreOf(list)) {
        const size_t at = std::clamp(size_t(std::max(row, 0)), size_t(0), rows->size());
        rows->insert(rows->begin() + ptrdiff_t(at), {{{text}, value}, image != -1 ? image : I_IMAGENONE});
        showStoredRowCount(list, *rows);
        refitBeforeShowing(list, 0);
        return;
    }
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | (image != -1 ? LVIF_IMAGE : 0);
    item.iItem = row;
    item.pszText = const_cast<char*>(text.c_str());
    item.lParam = value;
    item.iImage = image;
    SendMessageA(list, LVM_INSERTITEMA, 0, LPARAM(&item));
    refitBeforeShowing(list, 0);
}

void setListSubItem(HWND dialog, int listId, const std::string& text, int row, int column) {
    HWND list = listControl(dialog, listId);
    if (RowStore* rows = rowStoreOf(list)) {
        if (row < 0 || size_t(row) >= rows->size() || column < 0) return;
        std::vector<std::string>& cells = (*rows)[size_t(row)].content.cells;
        if (cells.size() <= size_t(column)) cells.resize(size_t(column) + 1);
        cells[size_t(column)] = text;
        ListView_RedrawItems(list, row, row);
        refitBeforeShowing(list, column);
        return;
    }
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, LPARAM(&item));
    refitBeforeShowing(list, column);
}

void setUpList(HWND dialog, int listId, std::span<const ListColumn> columns) {
    HWND list = listControl(dialog, listId);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    rowStoreOf(list);  // ready before the list first asks for a cell
    for (size_t column = 0; column < columns.size(); ++column)
        insertListColumn(dialog, listId, columns[column].header, int(column), columns[column].width);
}

void appendListRows(HWND dialog, int listId, std::span<const ListRow> rows, std::span<const int> images) {
    HWND list = listControl(dialog, listId);
    auto imageOf = [&](size_t k) { return k < images.size() ? images[k] : -1; };
    if (RowStore* stored = rowStoreOf(list)) {
        stored->reserve(stored->size() + rows.size());
        size_t columns = 0;
        for (size_t k = 0; k < rows.size(); ++k) {
            stored->push_back({rows[k], imageOf(k) != -1 ? imageOf(k) : I_IMAGENONE});
            columns = std::max(columns, rows[k].cells.size());
        }
        showStoredRowCount(list, *stored);
        for (size_t column = 0; column < columns; ++column) refitBeforeShowing(list, int(column));
        return;
    }
    // One batch: the list paints once, when it is whole.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    int row = ListView_GetItemCount(list);
    for (size_t k = 0; k < rows.size(); ++k) {
        const ListRow& content = rows[k];
        insertListItem(dialog, listId, imageOf(k), content.cells.empty() ? "" : content.cells[0], row, content.value);
        for (size_t column = 1; column < content.cells.size(); ++column)
            setListSubItem(dialog, listId, content.cells[column], row, int(column));
        ++row;
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

std::vector<int> selectedListRows(HWND dialog, int listId) {
    HWND list = listControl(dialog, listId);
    std::vector<int> rows;
    for (int row = -1; (row = ListView_GetNextItem(list, row, LVNI_SELECTED)) != -1;) rows.push_back(row);
    return rows;
}

int firstSelectedListRow(HWND dialog, int listId) {
    return ListView_GetNextItem(listControl(dialog, listId), -1, LVNI_SELECTED);
}

void selectAllListRows(HWND dialog, int listId) {
    HWND list = listControl(dialog, listId);
    ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
    // Only one row can hold the focus: the top one, where the keyboard starts.
    ListView_SetItemState(list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
}

void clearListSelection(HWND dialog, int listId) {
    ListView_SetItemState(listControl(dialog, listId), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
}

bool fitListColumn(HWND dialog, int listId, int column) { return fitColumn(listControl(dialog, listId), column); }

std::string listItemText(HWND dialog, int listId, int row, int column) {
    HWND list = listControl(dialog, listId);
    if (const RowStore* rows = rowStoreOf(list))
        return row >= 0 && size_t(row) < rows->size() ? storedCell((*rows)[size_t(row)], column) : std::string();
    return cellText(list, row, column);
}

int listRowUnderPointer(HWND dialog, int listId) {
    HWND list = listControl(dialog, listId);
    if (!list) return -1;
    // Signed: a screen left of or above the main one has negative coordinates.
    DWORD position = GetMessagePos();
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ScreenToClient(list, &point);
    // Column 0 always has the row's text where it begins, whichever column
    // the pointer is in.
    LVHITTESTINFO hit{};
    hit.pt = {5, point.y};
    return int(SendMessageA(list, LVM_HITTEST, 0, LPARAM(&hit)));
}

int listItemParam(HWND dialog, int listId, int row) {
    if (row == -1) return -1;
    return rowValue(listControl(dialog, listId), row);
}

void sortListByColumn(HWND dialog, int listId, int column) {
    HWND list = listControl(dialog, listId);
    if (!list) return;
    descending = list == lastSortedList && column == lastSortedColumn ? !descending : false;
    lastSortedList = list;
    lastSortedColumn = column;
    if (RowStore* rows = rowStoreOf(list)) {
        sortStoredRows(list, *rows, column, descending);
        return;
    }

    // The comparison meets rows by their values; reading each row's text once
    // here spares it a search of the list for every pair it compares.
    SortRequest request{};
    int rows = ListView_GetItemCount(list);
    for (int row = 0; row < rows; ++row) {
        request.cells.push_back(cellText(list, row, column));
        request.cellOfValue.emplace(rowValue(list, row), size_t(row));  // the top row of a value wins
    }
    request.order = columnOrderOf(request.cells);
    request.descending = descending;
    SendMessageA(list, LVM_SORTITEMS, WPARAM(&request), LPARAM(compareListRows));
}

FileIcons::~FileIcons() {
    if (small_) DestroyIcon(small_);
    if (large_) DestroyIcon(large_);
}

namespace {
// An icon from the system's image list of that size (SHGFI_SMALLICON or
// SHGFI_LARGEICON). The shell has no entry for a file that is gone; such a
// file is shown with the shell program's icon rather than none.
HICON shellIcon(const std::string& path, UINT size) {
    SHFILEINFOA info{};
    auto imagesFor = [&](const std::string& file) {
        return reinterpret_cast<HIMAGELIST>(
            SHGetFileInfoA(file.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | size));
    };
    HIMAGELIST images = imagesFor(path);
    if (!images) {
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, MAX_PATH);
        images = imagesFor(std::string(windows) + "\\explorer.exe");
    }
    return images ? ImageList_GetIcon(images, info.iIcon, ILD_NORMAL) : nullptr;
}
}  // namespace

FileIcons fileIcons(const std::string& path) {
    return FileIcons(shellIcon(path, SHGFI_SMALLICON), shellIcon(path, SHGFI_LARGEICON));
}
