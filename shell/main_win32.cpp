// The program's entry point: the single-instance rule and the message loop.

#include <windows.h>

#include <cstring>

#include "base/text.h"
#include "monitor/bin_lock_win32.h"
#include "monitor/recorder_channel_win32.h"
#include "settings/settings_store_win32.h"
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

    // Held until the program ends. A recorder of this session may hold the
    // recorder's lock already; one of another session may not. A Retrace
    // started again at once after "UNLOAD" waits for the last one's save,
    // and for a recorder that is ending to keep what it knows.
    Settings settings;
    loadSettings(settings);
    const std::string bin(fieldText(settings.UndoBinPath));
    UndoBinLock binLock(BinWriter::Retrace, bin, 20000);
    if (!binLock.held() || (!recorderRunning() && binRecorderLockTaken(bin, 20000))) {
        MessageBoxA(nullptr, binTakenMessage(bin).c_str(), "Retrace", MB_ICONWARNING | MB_OK);
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
