#pragma once
// The end of the person's session. Windows ends every process as a session
// ends, and tells only those with a window first: the recorder keeps a
// hidden one, so that before it is ended it can close its batch and keep
// what its next start compares the disk and the registry with.

#include <windows.h>

#include <functional>
#include <thread>

class SessionEndWatch {
public:
    // `askToEnd` asks the recorder's loop to end; it is called on the
    // watch's own thread. An ending session then waits until the watch is
    // destroyed, once all that must be kept is kept.
    explicit SessionEndWatch(std::function<void()> askToEnd);
    ~SessionEndWatch();
    SessionEndWatch(const SessionEndWatch&) = delete;
    SessionEndWatch& operator=(const SessionEndWatch&) = delete;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void listen(HANDLE made);

    std::function<void()> askToEnd_;
    HANDLE ended_;
    HWND window_ = nullptr;
    std::thread thread_;
};
