#include "ui/list_row_store_win32.h"

#include <algorithm>

namespace {

constexpr const char* storeProperty = "Retrace rows";

RowStore* storedRowsOf(HWND list) { return list ? static_cast<RowStore*>(GetPropA(list, storeProperty)) : nullptr; }

template <typename Item>
void fillCell(const RowStore& rows, Item& item) {
    if (item.iItem < 0 || size_t(item.iItem) >= rows.size()) return;
    const StoredRow& row = rows[size_t(item.iItem)];
    if (item.mask & LVIF_IMAGE) item.iImage = item.iSubItem == 0 ? row.image : I_IMAGENONE;
    if (item.mask & LVIF_PARAM) item.lParam = row.content.value;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    const std::string& text = storedCell(row, item.iSubItem);
    if constexpr (sizeof(*item.pszText) == 1) {
        lstrcpynA(item.pszText, text.c_str(), item.cchTextMax);
    } else {
        int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), int(text.size()), item.pszText, item.cchTextMax - 1);
        item.pszText[length] = L'\0';
    }
}

// Typing in a list finds the next row whose first column begins so.
int findStoredRow(const RowStore& rows, const std::string& prefix, int start) {
    if (rows.empty()) return -1;
    for (size_t step = 0; step < rows.size(); ++step) {
        size_t row = (size_t(std::max(start, 0)) + step) % rows.size();
        const std::string& text = storedCell(rows[row], 0);
        if (text.size() >= prefix.size() &&
            CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(), int(prefix.size()), prefix.c_str(),
                           int(prefix.size())) == CSTR_EQUAL)
            return int(row);
    }
    return -1;
}

// The lists' notifications go to their dialog: it hands them the cells.
LRESULT CALLBACK answerStoredLists(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(dialog, answerStoredLists, 0);
    if (message != WM_NOTIFY) return DefSubclassProc(dialog, message, wParam, lParam);
    const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
    const RowStore* rows = storedRowsOf(header.hwndFrom);
    if (!rows) return DefSubclassProc(dialog, message, wParam, lParam);
    switch (header.code) {
    case LVN_GETDISPINFOA:
        fillCell(*rows, reinterpret_cast<NMLVDISPINFOA*>(lParam)->item);
        return 0;
    case LVN_GETDISPINFOW:
        fillCell(*rows, reinterpret_cast<NMLVDISPINFOW*>(lParam)->item);
        return 0;
    case LVN_ODFINDITEMA: {
        const auto& find = *reinterpret_cast<const NMLVFINDITEMA*>(lParam);
        if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
        return findStoredRow(*rows, find.lvfi.psz, find.iStart);
    }
    case LVN_ODFINDITEMW: {
        const auto& find = *reinterpret_cast<const NMLVFINDITEMW*>(lParam);
        if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
        char prefix[MAX_PATH] = "";
        WideCharToMultiByte(CP_ACP, 0, find.lvfi.psz, -1, prefix, MAX_PATH, nullptr, nullptr);
        return findStoredRow(*rows, prefix, find.iStart);
    }
    }
    return DefSubclassProc(dialog, message, wParam, lParam);
}

// Rows taken away through the list itself go from the store as well.
LRESULT CALLBACK keepStoreInStep(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR storeAddress) {
    auto* rows = reinterpret_cast<RowStore*>(storeAddress);
    switch (message) {
    case LVM_DELETEALLITEMS:
        rows->clear();
        break;
    case LVM_DELETEITEM:
        if (wParam < rows->size()) rows->erase(rows->begin() + ptrdiff_t(wParam));
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(list, keepStoreInStep, 0);
        RemovePropA(list, storeProperty);
        delete rows;
        break;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

const std::string& storedCell(const StoredRow& row, int column) {
    static const std::string none;
    return column >= 0 && size_t(column) < row.content.cells.size() ? row.content.cells[size_t(column)] : none;
}

RowStore* rowStoreOf(HWND list) {
    if (RowStore* rows = storedRowsOf(list)) return rows;
    if (!list || !(GetWindowLongA(list, GWL_STYLE) & LVS_OWNERDATA)) return nullptr;
    auto* rows = new RowStore;
    SetPropA(list, storeProperty, rows);
    SetWindowSubclass(list, keepStoreInStep, 0, DWORD_PTR(rows));
    SetWindowSubclass(GetParent(list), answerStoredLists, 0, 0);
    return rows;
}

void showStoredRowCount(HWND list, const RowStore& rows) {
    SendMessageA(list, LVM_SETITEMCOUNT, WPARAM(rows.size()), 0);
    InvalidateRect(list, nullptr, TRUE);
}

// Measuring each of 100,000 texts takes seconds under Wine; the widest is
// among the longest.
int widestStoredText(HWND list, const RowStore& rows, int column) {
    std::vector<const std::string*> texts;
    texts.reserve(rows.size());
    for (const StoredRow& row : rows) texts.push_back(&storedCell(row, column));
    constexpr size_t measured = 64;
    if (texts.size() > measured) {
        std::nth_element(texts.begin(), texts.begin() + measured, texts.end(),
                         [](const std::string* a, const std::string* b) { return a->size() > b->size(); });
        texts.resize(measured);
    }
    HDC dc = GetDC(list);
    HGDIOBJ previousFont = SelectObject(dc, HGDIOBJ(SendMessageA(list, WM_GETFONT, 0, 0)));
    int widest = 0;
    for (const std::string* text : texts) {
        SIZE size{};
        GetTextExtentPoint32A(dc, text->c_str(), int(text->size()), &size);
        widest = std::max(widest, int(size.cx));
    }
    SelectObject(dc, previousFont);
    ReleaseDC(list, dc);
    return widest;
}
