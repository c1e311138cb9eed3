#include "ui/busy_indicator_win32.h"

#include <windows.h>

#include <atomic>

#include "res/resource.h"
#include "ui/application_win32.h"
#include "ui/dialog_toolkit_win32.h"
#include "ui/hidden_window_win32.h"

namespace {

constexpr const char* busyWindowClass = "UndoWork";
constexpr UINT_PTR blinkTimer = 9;
constexpr UINT blinkPeriod = 100;

// Set once by the busy thread; read by the main thread.
std::atomic<HWND> busyDialog = nullptr;
HANDLE busyDialogMade = nullptr;
// Touched by the busy thread only.
UINT_PTR blinkTimerId = 0;
int blinkState = 0;

INT_PTR CALLBACK busyDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        commonDialogSetUp(dialog);
        blinkTimerId = SetTimer(dialog, blinkTimer, blinkPeriod, nullptr);
        break;
    case WM_TIMER:
        // The light stands still while the panel is hidden.
        if (IsWindowVisible(dialog)) {
            blinkState = !blinkState;
            CheckDlgButton(dialog, IDC_BUSY_LIGHT, blinkState ? BST_CHECKED : BST_UNCHECKED);
        }
        break;
    case WM_DESTROY:
        KillTimer(dialog, blinkTimerId);
        PostQuitMessage(0);
        break;
    }
    return 0;
}

LRESULT CALLBACK busyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        busyDialog = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_BUSY), window, busyDialogProc, 0);
        centreWindow(busyDialog, nullptr);
        SetEvent(busyDialogMade);
        break;
    case WM_DESTROY:
        DestroyWindow(busyDialog);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI busyThread(LPVOID) {
    if (!createHiddenWindow(busyWindowClass, busyWindowProc)) SetEvent(busyDialogMade);

    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return DWORD(message.wParam);
}

}  // namespace

void startBusyIndicator() {
    busyDialogMade = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, busyThread, nullptr, 0, nullptr);
    if (!thread) return;
    CloseHandle(thread);
    WaitForSingleObject(busyDialogMade, 5000);
}

void showBusyIndicator(const char* text) {
    HWND dialog = busyDialog;
    if (!dialog) return;
    // Each call is carried out by the busy thread before it returns.
    SetDlgItemTextA(dialog, IDC_BUSY_TEXT, text);
    ShowWindow(dialog, SW_SHOWNORMAL);
    InvalidateRect(dialog, nullptr, TRUE);
    UpdateWindow(dialog);
}

void hideBusyIndicator() {
    if (HWND dialog = busyDialog) ShowWindow(dialog, SW_HIDE);
}
