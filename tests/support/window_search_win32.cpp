#include "tests/support/window_search_win32.h"

#include "res/resource.h"

bool waitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds) return condition();
        Sleep(25);
    }
    return true;
}

HWND waitForWindow(const char* className, const char* title, DWORD milliseconds) {
    HWND window = nullptr;
    waitUntil([&] { return (window = FindWindowA(className, title)) != nullptr; }, milliseconds);
    return window;
}

std::string messageBoxText(HWND box) {
    std::string text;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM found) -> BOOL {
            char className[32] = "", childText[1200] = "";
            GetClassNameA(child, className, sizeof className);
            GetWindowTextA(child, childText, sizeof childText);
            if (lstrcmpiA(className, "Static") == 0 && childText[0])
                *reinterpret_cast<std::string*>(found) = childText;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

std::future<bool> answerMessageBoxLater(const char* title, int button) {
    return std::async(std::launch::async, [title, button] {
        HWND box = waitForWindow("#32770", title, 60000);
        return box && PostMessageA(box, WM_COMMAND, WPARAM(button), 0);
    });
}

HWND busyPanel() {
    HWND owner = FindWindowA("UndoWork", "UndoWork");
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr));)
        if (GetWindow(window, GW_OWNER) == owner) return window;
    return nullptr;
}

std::string busyPanelText(HWND panel) {
    char text[256] = "";
    GetDlgItemTextA(panel, IDC_BUSY_TEXT, text, sizeof text);
    return text;
}

MessageBoxAnswerer::MessageBoxAnswerer(const char* title, int button) : title_(title), button_(button) {
    thread_ = std::thread([this] {
        HWND lastAnswered = nullptr;
        while (!stopping_) {
            HWND box = FindWindowA("#32770", title_.c_str());
            // A box just answered may still be found until it has gone.
            if (box && box != lastAnswered) {
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    texts_.push_back(messageBoxText(box));
                }
                PostMessageA(box, WM_COMMAND, WPARAM(button_), 0);
                lastAnswered = box;
            }
            Sleep(10);
        }
    });
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
    stopping_ = true;
    thread_.join();
}

std::vector<std::string> MessageBoxAnswerer::texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}
