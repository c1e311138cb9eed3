// menu_probe_target.exe: a hidden window that opens a pop-up menu on a
// tray-style click, the way retrace.exe does, for the menu probe's own tests.
// It adds every command it receives to its window title: " 1022 1030".

#include <windows.h>

#include <string>

namespace {

const char windowClass[] = "MenuProbeTarget";

HMENU buildMenu(HBITMAP banner) {
    HMENU older = CreatePopupMenu();
    AppendMenuA(older, MF_STRING, 1032, "Paint");

    HMENU programs = CreatePopupMenu();
    AppendMenuA(programs, MF_STRING, 1030, "Notepad");
    AppendMenuA(programs, MF_STRING, 1031, "Notepad modify of C:\\...\\readme.txt");
    AppendMenuA(programs, MF_POPUP, UINT_PTR(older), "Older");
    AppendMenuA(programs, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(programs, MF_STRING, 1040, "More...");

    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_BITMAP, 0, reinterpret_cast<LPCSTR>(banner));
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_POPUP, UINT_PTR(programs), "Undo Programs");
    AppendMenuA(menu, MF_STRING | MF_GRAYED | MF_DISABLED, 1041, "Undo Files");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | MF_GRAYED, 1021, "Redo");
    AppendMenuA(menu, MF_STRING | MF_CHECKED, 1027, "Monitoring");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, 1136, "Unload");
    SetMenuDefaultItem(menu, 0, TRUE);
    return menu;
}

void openMenu(HWND window) {
    HDC screen = GetDC(nullptr);
    HBITMAP banner = CreateCompatibleBitmap(screen, 170, 15);
    ReleaseDC(nullptr, screen);
    HMENU menu = buildMenu(banner);
    POINT cursor;
    GetCursorPos(&cursor);
    // Foreground first, or the menu stays open when the user clicks elsewhere.
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_BOTTOMALIGN, cursor.x, cursor.y, 0, window, nullptr);
    DestroyMenu(menu);
    DeleteObject(banner);
}

LRESULT CALLBACK targetWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_USER:
        if (lParam == WM_LBUTTONDOWN) openMenu(window);
        return 0;
    case WM_COMMAND: {
        char title[512] = "";
        GetWindowTextA(window, title, sizeof title);
        SetWindowTextA(window, (title + (" " + std::to_string(LOWORD(wParam)))).c_str());
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA targetClass{};
    targetClass.lpfnWndProc = targetWindowProc;
    targetClass.hInstance = instance;
    targetClass.lpszClassName = windowClass;
    RegisterClassA(&targetClass);
    CreateWindowA(windowClass, "", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, nullptr, instance,
                  nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
