#include "recorder/session_end_win32.h"

#include "ui/hidden_window_win32.h"

namespace {

constexpr const char* sessionWindowClass = "RetraceRecorder";
// How long an ending session is held while the recorder keeps its state: a
// recorder that takes longer is ended as it is.
constexpr DWORD keepWaitMilliseconds = 20000;

}  // namespace

SessionEndWatch::SessionEndWatch(std::function<void()> askToEnd)
    : askToEnd_(std::move(askToEnd)), ended_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    HANDLE made = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this, made] { listen(made); });
    WaitForSingleObject(made, INFINITE);
    CloseHandle(made);
}

SessionEndWatch::~SessionEndWatch() {
    SetEvent(ended_);
    if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
    thread_.join();
    CloseHandle(ended_);
}

void SessionEndWatch::listen(HANDLE made) {
    window_ = createHiddenWindow(sessionWindowClass, windowProc);
    if (window_) SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetEvent(made);
    if (!window_) return;
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
}

LRESULT CALLBACK SessionEndWatch::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* watch = reinterpret_cast<SessionEndWatch*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_ENDSESSION:
        // The process may be ended as soon as this returns.
        if (wParam && watch) {
            watch->askToEnd_();
            WaitForSingleObject(watch->ended_, keepWaitMilliseconds);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
