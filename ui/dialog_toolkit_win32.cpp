#include "ui/dialog_toolkit_win32.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>

#include "base/file_operations_win32.h"
#include "base/paths.h"
#include "res/resource.h"
#include "ui/application_win32.h"
#include "ui/help_topics.h"

void commonDialogSetUp(HWND window) {
    lastDialog = window;
    centreWindow(window);
    // Icon 101 is the program's own; without it the dialogs keep theirs.
    if (HICON icon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_MONITORING_ON)))
        SetClassLongPtrA(window, GCLP_HICON, LONG_PTR(icon));
}

void centreWindow(HWND window, HWND other) {
    // The screen that shows `other`, or the main one: a dialog centred on a
    // window of a second screen stays on that screen.
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    GetMonitorInfoA(MonitorFromWindow(other ? other : GetDesktopWindow(), MONITOR_DEFAULTTONEAREST), &screen);
    const RECT& bounds = screen.rcMonitor;
    RECT target = bounds, own;
    if (other) GetWindowRect(other, &target);
    GetWindowRect(window, &own);
    LONG width = own.right - own.left, height = own.bottom - own.top;
    LONG x = (target.left + target.right) / 2 - width / 2;
    LONG y = (target.top + target.bottom) / 2 - height / 2;
    // Held inside the screen; one too large for it shows its top-left corner,
    // where its caption is.
    x = std::max(std::min(x, bounds.right - width), bounds.left);
    y = std::max(std::min(y, bounds.bottom - height), bounds.top);
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void moveControlOnResize(HWND dialog, int controlId, const RECT& previousClient, int newWidth, int newHeight,
                         bool moveHorizontally, bool moveVertically, bool resize) {
    HWND control = GetDlgItem(dialog, controlId);
    if (!control) return;
    int dx = newWidth - (previousClient.right - previousClient.left);
    int dy = newHeight - (previousClient.bottom - previousClient.top);
    RECT own;
    GetWindowRect(control, &own);
    POINT corner{own.left + (moveHorizontally ? dx : 0), own.top + (moveVertically ? dy : 0)};
    ScreenToClient(dialog, &corner);
    UINT flags = SWP_NOZORDER;
    if (!moveHorizontally && !moveVertically) flags |= SWP_NOMOVE;
    if (!resize) flags |= SWP_NOSIZE;
    SetWindowPos(control, nullptr, corner.x, corner.y, own.right - own.left + dx, own.bottom - own.top + dy, flags);
}

void openResizableDialog(HWND dialog, RECT& previousClient) {
    GetClientRect(dialog, &previousClient);
    commonDialogSetUp(dialog);
}

void moveControlsOnResize(HWND dialog, RECT& previousClient, LPARAM newSize, std::span<const ControlAnchor> anchors) {
    for (const ControlAnchor& anchor : anchors)
        moveControlOnResize(dialog, anchor.controlId, previousClient, LOWORD(newSize), HIWORD(newSize),
                            anchor.moveHorizontally, anchor.moveVertically, anchor.resize);
    GetClientRect(dialog, &previousClient);
    // Wine leaves the controls that moved unpainted until something covers them.
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void shrinkAndCentre(HWND window, double widthShare, double heightShare) {
    RECT own;
    GetWindowRect(window, &own);
    SetWindowPos(window, nullptr, 0, 0, int((own.right - own.left) * widthShare),
                 int((own.bottom - own.top) * heightShare), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    centreWindow(window);
}

void paintBitmap(HWND window, HDC dc, int bitmapId) {
    HBITMAP bitmap = LoadBitmapA(appInstance, MAKEINTRESOURCEA(bitmapId));
    if (!bitmap) return;
    BITMAP picture;
    GetObjectA(bitmap, sizeof picture, &picture);
    RECT area;
    GetWindowRect(window, &area);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    StretchBlt(dc, 0, 0, area.right - area.left, area.bottom - area.top, memory, 0, 0, picture.bmWidth,
               picture.bmHeight, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

std::string browseForFolder(HWND owner, const std::string& title) {
    char displayName[MAX_PATH];
    BROWSEINFOA request{};
    request.hwndOwner = owner;
    request.pszDisplayName = displayName;
    request.lpszTitle = title.c_str();
    PIDLIST_ABSOLUTE picked = SHBrowseForFolderA(&request);
    if (!picked) return {};
    char path[MAX_PATH] = "";
    bool inFileSystem = SHGetPathFromIDListA(picked, path);
    CoTaskMemFree(picked);
    return inFileSystem ? path : "";
}

void showHelp(HWND window, int context) {
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    // Without its file WinHelp asks the user to look for it, and under Wine
    // holds this thread until the question is answered.
    std::string helpFile = fileBeside(program, "Retrace.hlp");
    if (fileExists(helpFile)) {
        const bool served = context == helpContents
                                ? WinHelpA(window, helpFile.c_str(), HELP_CONTENTS, 0)
                                : WinHelpA(window, helpFile.c_str(), HELP_CONTEXT, ULONG_PTR(context));
        if (served) return;
    }
    const std::string page = helpTopicPath(program, context);
    const bool pageExists = fileExists(page);
    // ShellExecute's result is an error code when 32 or less, such as when
    // no program is registered for .html; Help never fails without a word.
    if (pageExists &&
        reinterpret_cast<INT_PTR>(ShellExecuteA(window, nullptr, page.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32)
        return;
    MessageBoxA(window, helpUnavailableText(page, pageExists).c_str(), "Retrace Help", MB_OK | MB_ICONINFORMATION);
}

void setShortenedText(HWND dialog, int controlId, const std::string& text) {
    HWND control = GetDlgItem(dialog, controlId);
    if (!control) return;
    RECT box{};
    GetClientRect(control, &box);
    // The shell's own shortening works on texts of a path's length.
    char shown[MAX_PATH] = "";
    lstrcpynA(shown, text.c_str(), MAX_PATH);
    HDC dc = GetDC(control);
    HGDIOBJ previousFont = SelectObject(dc, HGDIOBJ(SendMessageA(control, WM_GETFONT, 0, 0)));
    PathCompactPathA(dc, shown, UINT(box.right - box.left));
    SelectObject(dc, previousFont);
    ReleaseDC(control, dc);
    SetWindowTextA(control, shown);
}

std::string dialogItemText(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    std::string text(size_t(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(size_t(GetWindowTextA(control, text.data(), int(text.size()))));
    return text;
}

std::vector<std::string> listBoxItems(HWND dialog, int listId) {
    std::vector<std::string> items;
    const int count = int(SendDlgItemMessageA(dialog, listId, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string item(size_t(SendDlgItemMessageA(dialog, listId, LB_GETTEXTLEN, i, 0)) + 1, '\0');
        item.resize(size_t(SendDlgItemMessageA(dialog, listId, LB_GETTEXT, i, LPARAM(item.data()))));
        items.push_back(std::move(item));
    }
    return items;
}

bool addListBoxItem(HWND dialog, int listId, const std::string& text) {
    // The list box's own exact search ignores case.
    if (SendDlgItemMessageA(dialog, listId, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text.c_str())) != LB_ERR)
        return false;
    SendDlgItemMessageA(dialog, listId, LB_ADDSTRING, 0, LPARAM(text.c_str()));
    return true;
}

void removeSelectedListBoxItem(HWND dialog, int listId) {
    const LRESULT selected = SendDlgItemMessageA(dialog, listId, LB_GETCURSEL, 0, 0);
    if (selected != LB_ERR) SendDlgItemMessageA(dialog, listId, LB_DELETESTRING, WPARAM(selected), 0);
}
