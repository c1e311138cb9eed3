#pragma once
// Finding and reading windows from outside, as a person would see them.

#include <windows.h>

#include <atomic>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Polls until the condition holds or the time is up; returns the last answer.
bool waitUntil(const std::function<bool()>& condition, DWORD milliseconds = 10000);

// The top-level window of the class and title, once it appears.
HWND waitForWindow(const char* className, const char* title, DWORD milliseconds = 10000);

// The text a message box shows.
std::string messageBoxText(HWND box);

// Answers the next message box of that title with the button, from another
// thread, as a person would; tells whether one came within a minute.
std::future<bool> answerMessageBoxLater(const char* title, int button);

// The busy panel of this process's busy thread, shown or not; null before
// the thread has made it.
HWND busyPanel();

// The text the busy panel shows.
std::string busyPanelText(HWND panel);

// Answers every message box of that title with the button while it lives,
// from another thread, as a person would, and keeps what they said.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(const char* title, int button = IDOK);
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // The texts of the boxes answered so far, oldest first.
    std::vector<std::string> texts() const;

private:
    std::string title_;
    int button_;
    mutable std::mutex mutex_;
    std::vector<std::string> texts_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
