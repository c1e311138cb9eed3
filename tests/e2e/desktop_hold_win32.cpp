// Keeps the test's desktop, and the shell on it, for as long as the test runs.
//
// Under Wine the server closes a desktop a second after the last program on
// it other than the shell has gone, and the shell ends with it. It judges
// that by comparing the desktop's threads with the shell's, but it makes
// the comparison when one of the shell's own threads ends before counting
// that thread out: at that moment a program with a single thread on the
// desktop is taken for none. The shell's threads that serve the folder
// windows an undo opens end a few seconds later; if the test process, whose
// only thread is then the main one, is the sole program left, the desktop
// closes under it. The retrace.exe it starts next inherits a desktop whose
// window is gone and dies at its first window, and the test waits in vain.
// A second thread of the test's own keeps the count off that edge.

#include <windows.h>

#include <gtest/gtest.h>

namespace {

class DesktopHold : public testing::Environment {
public:
    void SetUp() override {
        release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        // A thread takes its process's desktop when it is made, and counts
        // on it until it ends; it needs do nothing else.
        thread_ = CreateThread(
            nullptr, 0, [](void* release) -> DWORD { return WaitForSingleObject(release, INFINITE); }, release_,
            0, nullptr);
        ASSERT_NE(thread_, nullptr);
    }
    void TearDown() override {
        SetEvent(release_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(release_);
    }

private:
    HANDLE release_ = nullptr;
    HANDLE thread_ = nullptr;
};

testing::Environment* const desktopHold = testing::AddGlobalTestEnvironment(new DesktopHold);

}  // namespace
