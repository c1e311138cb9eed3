#pragma once
// Drives retrace.exe from outside, as a person and the shell would: starts
// it, finds its windows, reads their texts, looks at the notification area.

#include <windows.h>

#include <string>

#include "tests/support/window_search_win32.h"

// retrace.exe as started by a person, with a command line, and ended by the
// test if it is still running when the test is done with it.
class RetraceProcess {
public:
    explicit RetraceProcess(const std::string& arguments = "");
    ~RetraceProcess();
    RetraceProcess(const RetraceProcess&) = delete;
    RetraceProcess& operator=(const RetraceProcess&) = delete;

    bool started() const { return process_.hProcess != nullptr; }
    bool running() const;
    // The exit code, or STILL_ACTIVE when it has not ended within the time.
    DWORD waitForExit(DWORD milliseconds = 10000) const;

private:
    PROCESS_INFORMATION process_{};
};

// The hidden main window, once start-up has created it.
HWND waitForMainWindow(DWORD milliseconds = 30000);

// A message box with the given title.
HWND findMessageBox(const char* title);

// Whether the shell holds an icon registered on the window.
bool trayIconPresent(HWND owner);

// What the notification area shows at its right end, judged by colour.
enum class TrayPicture { None, MonitoringOn, MonitoringOff, Busy };
TrayPicture trayPicture();

// Ends every running instance the way a person would, with "UNLOAD".
void unloadRunningRetrace();
