#include "tests/e2e/dialog_driver_win32.h"

#include <commctrl.h>

#include "tests/e2e/remote_block_win32.h"
#include "tests/support/window_search_win32.h"

// A dialog shows once it has initialised; before that its controls are still empty.
HWND waitForDialog(const char* caption, DWORD milliseconds) {
    HWND dialog = nullptr;
    waitUntil([&] { return (dialog = FindWindowA("#32770", caption)) && IsWindowVisible(dialog); }, milliseconds);
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
}

HWND openByCommand(HWND mainWindow, unsigned command, const char* caption) {
    PostMessageA(mainWindow, WM_COMMAND, command, 0);
    return waitForDialog(caption);
}

bool waitForClose(HWND window, DWORD milliseconds) {
    return waitUntil([&] { return !IsWindow(window); }, milliseconds);
}

// Asked of the window itself: another process's GetWindowText reads only the
// title a window was made with, never what an edit control holds now.
std::string windowText(HWND window) {
    char text[1024] = "";
    SendMessageA(window, WM_GETTEXT, sizeof text, LPARAM(text));
    return text;
}

std::string controlText(HWND dialog, int controlId) { return windowText(GetDlgItem(dialog, controlId)); }

bool controlShown(HWND dialog, int controlId) { return IsWindowVisible(GetDlgItem(dialog, controlId)); }

bool controlEnabled(HWND dialog, int controlId) { return IsWindowEnabled(GetDlgItem(dialog, controlId)); }

void pressButton(HWND dialog, int buttonId) { PostMessageA(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0); }

// Wine carries the texts of these messages across processes itself.
void typeText(HWND dialog, int controlId, const std::string& text) {
    SendMessageA(GetDlgItem(dialog, controlId), WM_SETTEXT, 0, LPARAM(text.c_str()));
}

bool buttonChecked(HWND dialog, int buttonId) {
    return SendMessageA(GetDlgItem(dialog, buttonId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Wine carries a list box's texts across processes only in their wide form.
namespace {
std::vector<std::string> itemTexts(HWND control, UINT countMessage, UINT textMessage) {
    std::vector<std::string> texts;
    const int count = int(SendMessageW(control, countMessage, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t wide[MAX_PATH * 2] = L"";
        SendMessageW(control, textMessage, i, LPARAM(wide));
        char text[MAX_PATH * 2] = "";
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        texts.emplace_back(text);
    }
    return texts;
}
}  // namespace

HWND waitForMessageBoxOf(HWND owner, DWORD milliseconds) {
    HWND box = nullptr;
    waitUntil([&] {
        for (box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", nullptr));)
            if (GetWindow(box, GW_OWNER) == owner && IsWindowVisible(box)) return true;
        return false;
    }, milliseconds);
    return box;
}

std::vector<std::string> listBoxTexts(HWND dialog, int listId) {
    return itemTexts(GetDlgItem(dialog, listId), LB_GETCOUNT, LB_GETTEXT);
}

std::vector<std::string> comboBoxTexts(HWND dialog, int comboId) {
    return itemTexts(GetDlgItem(dialog, comboId), CB_GETCOUNT, CB_GETLBTEXT);
}

void chooseComboBoxEntry(HWND dialog, int comboId, int index) {
    HWND combo = GetDlgItem(dialog, comboId);
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), LPARAM(combo));
}

int comboBoxChoice(HWND dialog, int comboId) {
    return int(SendDlgItemMessageA(dialog, comboId, CB_GETCURSEL, 0, 0));
}

void selectListBoxText(HWND dialog, int listId, const std::string& text) {
    wchar_t wide[MAX_PATH * 2] = L"";
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, MAX_PATH * 2);
    SendMessageW(GetDlgItem(dialog, listId), LB_SELECTSTRING, WPARAM(-1), LPARAM(wide));
}

HWND showSheetPage(HWND sheet, int index) {
    PostMessageA(sheet, PSM_SETCURSEL, index, 0);
    return waitForSheetPage(sheet, index);
}

int currentSheetPage(HWND sheet) {
    HWND page = HWND(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    return page ? int(SendMessageA(sheet, PSM_HWNDTOINDEX, WPARAM(page), 0)) : -1;
}

HWND waitForSheetPage(HWND sheet, int index, DWORD milliseconds) {
    HWND page = nullptr;
    waitUntil(
        [&] {
            page = HWND(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
            return page && currentSheetPage(sheet) == index && IsWindowVisible(page);
        },
        milliseconds);
    return page && currentSheetPage(sheet) == index && IsWindowVisible(page) ? page : nullptr;
}

void pressSheetButton(HWND sheet, int button) { PostMessageA(sheet, PSM_PRESSBUTTON, button, 0); }

namespace {
// What the list's messages point at lives in the list's process.
struct RemoteItem {
    LVITEMA item;
    char text[1024];
};

void click(HWND window, POINT at) {
    LPARAM position = MAKELPARAM(at.x, at.y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, position);
    PostMessageA(window, WM_LBUTTONUP, 0, position);
}
}  // namespace

DialogList::DialogList(HWND dialog, int listId) : list_(GetDlgItem(dialog, listId)) {
    DWORD processId = 0;
    GetWindowThreadProcessId(list_, &processId);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
}

DialogList::~DialogList() {
    if (process_) CloseHandle(process_);
}

int DialogList::rowCount() const { return int(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)); }

std::vector<std::string> DialogList::headers() const {
    std::vector<std::string> found;
    struct RemoteColumn {
        LVCOLUMNA column;
        char text[256];
    };
    RemoteBlock block(process_, sizeof(RemoteColumn));
    auto* remote = static_cast<RemoteColumn*>(block.address());
    for (int column = 0;; ++column) {
        RemoteColumn request{};
        request.column.mask = LVCF_TEXT;
        request.column.pszText = remote->text;
        request.column.cchTextMax = sizeof request.text;
        block.write(&request, sizeof request);
        if (!SendMessageA(list_, LVM_GETCOLUMNA, column, LPARAM(remote))) return found;
        block.read(offsetof(RemoteColumn, text), request.text, sizeof request.text);
        found.emplace_back(request.text);
    }
}

std::string DialogList::cell(int row, int column) const {
    RemoteBlock block(process_, sizeof(RemoteItem));
    auto* remote = static_cast<RemoteItem*>(block.address());
    RemoteItem request{};
    request.item.iSubItem = column;
    request.item.pszText = remote->text;
    request.item.cchTextMax = sizeof request.text;
    block.write(&request, sizeof request);
    SendMessageA(list_, LVM_GETITEMTEXTA, row, LPARAM(remote));
    block.read(offsetof(RemoteItem, text), request.text, sizeof request.text);
    return request.text;
}

std::vector<std::string> DialogList::column(int column) const {
    std::vector<std::string> cells;
    for (int row = 0; row < rowCount(); ++row) cells.push_back(cell(row, column));
    return cells;
}

int DialogList::rowOf(const std::string& firstCell) const {
    for (int row = 0; row < rowCount(); ++row)
        if (cell(row, 0) == firstCell) return row;
    return -1;
}

std::vector<int> DialogList::selectedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < rowCount(); ++row)
        if (SendMessageA(list_, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) rows.push_back(row);
    return rows;
}

int DialogList::image(int row) const {
    RemoteBlock block(process_, sizeof(LVITEMA));
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = -1;
    block.write(&item, sizeof item);
    SendMessageA(list_, LVM_GETITEMA, 0, LPARAM(block.address()));
    block.read(0, &item, sizeof item);
    return item.iImage;
}

bool DialogList::hasSmallImages() const { return SendMessageA(list_, LVM_GETIMAGELIST, LVSIL_SMALL, 0) != 0; }

void DialogList::setSelected(int row, bool selected) const {
    RemoteBlock block(process_, sizeof(LVITEMA));
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = selected ? LVIS_SELECTED : 0;
    block.write(&state, sizeof state);
    SendMessageA(list_, LVM_SETITEMSTATE, row, LPARAM(block.address()));
}

POINT DialogList::rowPoint(int row) const {
    RemoteBlock block(process_, sizeof(RECT));
    RECT bounds{LVIR_LABEL, 0, 0, 0};
    block.write(&bounds, sizeof bounds);
    SendMessageA(list_, LVM_GETITEMRECT, row, LPARAM(block.address()));
    block.read(0, &bounds, sizeof bounds);
    return {bounds.left + 4, (bounds.top + bounds.bottom) / 2};
}

void DialogList::clickRow(int row) const {
    RECT client;
    GetClientRect(list_, &client);
    click(list_, row == -1 ? POINT{5, client.bottom - 3} : rowPoint(row));
}

// The list finds the row by the pointer's place when the message came, so
// the pointer goes there first; the display may move it back a moment later.
void DialogList::doubleClickRow(int row) const {
    POINT at = rowPoint(row), onScreen = at;
    ClientToScreen(list_, &onScreen);
    waitUntil([&] {
        SetCursorPos(onScreen.x, onScreen.y);
        POINT now{};
        GetCursorPos(&now);
        return now.x == onScreen.x && now.y == onScreen.y;
    });
    LPARAM position = MAKELPARAM(at.x, at.y);
    PostMessageA(list_, WM_LBUTTONDOWN, MK_LBUTTON, position);
    PostMessageA(list_, WM_LBUTTONUP, 0, position);
    PostMessageA(list_, WM_LBUTTONDBLCLK, MK_LBUTTON, position);
    PostMessageA(list_, WM_LBUTTONUP, 0, position);
}

void DialogList::clickHeader(int column) const {
    HWND header = HWND(SendMessageA(list_, LVM_GETHEADER, 0, 0));
    RemoteBlock block(process_, sizeof(RECT));
    RECT bounds{};
    block.write(&bounds, sizeof bounds);
    SendMessageA(header, HDM_GETITEMRECT, column, LPARAM(block.address()));
    block.read(0, &bounds, sizeof bounds);
    click(header, {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2});
}
