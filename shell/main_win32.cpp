// The program's entry point: the single-instance rule and the message loop.

#include <windows.h>

#include <cstring>

#include "shell/main_window_win32.h"
#include "shell/startup_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    // Case-sensitive on purpose: "unload" starts the program as usual.
    if (std::strstr(commandLine, "UNLOAD")) {
        if (HWND running = FindWindowA(mainWindowClass, nullptr)) PostMessageA(running, WM_CLOSE, 0, 0);
        return 0;
    }
    if (FindWindowA(mainWindowClass, nullptr)) {
        MessageBoxA(nullptr, "Retrace is already running.", "Retrace", MB_ICONWARNING | MB_OK);
        return 0;
    }

    appInstance = instance;
    runStartup();

    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return int(message.wParam);
}
