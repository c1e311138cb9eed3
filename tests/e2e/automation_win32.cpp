#include "tests/e2e/automation_win32.h"

#include <shellapi.h>

#include "shell/main_window_win32.h"

std::string windowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string windows = "Z:" + path;
    for (char& c : windows)
        if (c == '/') c = '\\';
    return windows;
}

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments) {
    std::string commandLine = std::string("\"").append(windowsPath(program)).append("\"");
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_))
        process_ = {};
}

ChildProcess::~ChildProcess() {
    if (!started()) return;
    if (running()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool ChildProcess::running() const {
    return started() && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD ChildProcess::waitForExit(DWORD milliseconds) const {
    if (!started()) return DWORD(-1);
    WaitForSingleObject(process_.hProcess, milliseconds);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

HWND waitForMainWindow(DWORD milliseconds) { return waitForWindow("Retrace", "Retrace", milliseconds); }

HWND findMessageBox(const char* title) { return FindWindowA("#32770", title); }

bool trayIconPresent(HWND owner) {
    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = owner;
    icon.uID = 0;
    // Changing nothing but the flags' empty set succeeds only for an icon that exists.
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

TrayPicture trayPicture() {
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    RECT area;
    if (!tray || !GetWindowRect(tray, &area)) return TrayPicture::None;
    const int width = 32, height = area.bottom - area.top;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.right - width, area.top, SRCCOPY);

    int green = 0, amber = 0, grey = 0;
    auto* pixels = static_cast<const BYTE*>(bits);
    for (int i = 0; i < width * height; ++i) {
        int b = pixels[4 * i], g = pixels[4 * i + 1], r = pixels[4 * i + 2];
        if (g > r + 40 && g > b + 20) ++green;
        else if (r > 150 && g > 90 && b < 80 && r > g) ++amber;
        else if (abs(r - g) < 12 && abs(g - b) < 12 && r > 60 && r < 200) ++grey;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    const int enough = 12;
    if (amber >= enough && amber >= green) return TrayPicture::Busy;
    if (green >= enough) return TrayPicture::MonitoringOn;
    if (grey >= enough) return TrayPicture::MonitoringOff;
    return TrayPicture::None;
}

bool waitUntilIdle(HWND mainWindow, DWORD milliseconds) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(mainWindow, RegisterWindowMessageA(idleQueryMessageName), 0, 0, SMTO_NORMAL,
                               milliseconds, &answer) != 0 &&
           answer == 1;
}

void unloadRunningRetrace() {
    while (HWND window = FindWindowA("Retrace", nullptr)) {
        RetraceProcess unload("UNLOAD");
        unload.waitForExit();
        if (!waitUntil([&] { return !IsWindow(window); }, 5000)) break;
    }
}
