#pragma once
// Windows the toolkit's tests act on: a shown dialog-class window with
// children, made without a template, destroyed when the value goes.

#include <windows.h>
#include <commctrl.h>

class TestWindow {
public:
    TestWindow(int x, int y, int width, int height) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        window_ = CreateWindowExA(0, WC_DIALOG, "Toolkit Test", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, x, y,
                                  width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() { DestroyWindow(window_); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    operator HWND() const { return window_; }

    HWND addChild(const char* className, int id, DWORD style, int x, int y, int width, int height) const {
        return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, x, y, width, height, window_,
                               reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
    }

    HWND addList(int id, int x, int y, int width, int height, DWORD extraStyle = 0) const {
        return addChild(WC_LISTVIEWA, id, WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | extraStyle, x, y, width,
                        height);
    }

private:
    HWND window_;
};

// A window's rectangle in its parent's client coordinates.
inline RECT rectInParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
