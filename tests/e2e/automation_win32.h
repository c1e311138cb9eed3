#pragma once
// Drives retrace.exe from outside, as a person and the shell would: starts
// it, finds its windows, reads their texts, looks at the notification area.

#include <windows.h>

#include <string>

#include "tests/support/window_search_win32.h"

// A path of the build tree as a Windows program sees it: under Wine the
// root of the Linux file system is drive Z:.
std::string windowsPath(const std::string& path);

// A program of the build tree started with a command line, and ended by the
// test if it is still running when the test is done with it.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::string& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return process_.hProcess != nullptr; }
    bool running() const;
    DWORD processId() const { return process_.dwProcessId; }
    // The exit code, or STILL_ACTIVE when it has not ended within the time.
    DWORD waitForExit(DWORD milliseconds = 10000) const;

private:
    PROCESS_INFORMATION process_{};
};

// retrace.exe as started by a person.
class RetraceProcess : public ChildProcess {
public:
    explicit RetraceProcess(const std::string& arguments = "") : ChildProcess(RETRACE_EXE, arguments) {}
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

// Waits until the program has finished the work its last tray click left
// running in the background: saving the action list, sweeping the bin.
bool waitUntilIdle(HWND mainWindow, DWORD milliseconds = 60000);

// Ends every running instance the way a person would, with "UNLOAD".
void unloadRunningRetrace();
