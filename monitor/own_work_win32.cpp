#include "monitor/own_work_win32.h"

#include <windows.h>

namespace {

constexpr const char* ownWorkName = "Local\\RetraceRecorder.OwnWork";

struct SharedWindow {
    volatile LONG64 underway;
    volatile LONG64 lastEnd;
};

// Mapped once for the life of the process; whichever of Retrace and the
// recorder comes first makes it, zeroed.
SharedWindow* sharedWindow() {
    static SharedWindow* window = [] {
        HANDLE mapping =
            CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(SharedWindow), ownWorkName);
        if (!mapping) return static_cast<SharedWindow*>(nullptr);
        return static_cast<SharedWindow*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedWindow)));
    }();
    return window;
}

}  // namespace

OwnWork::OwnWork() {
    if (SharedWindow* window = sharedWindow()) InterlockedIncrement64(&window->underway);
}

OwnWork::~OwnWork() {
    if (SharedWindow* window = sharedWindow()) {
        InterlockedExchange64(&window->lastEnd, LONG64(GetTickCount64()));
        InterlockedDecrement64(&window->underway);
    }
}

bool ownWorkUnderway() {
    SharedWindow* window = sharedWindow();
    if (!window) return false;
    OwnWorkWindow seen{InterlockedCompareExchange64(&window->underway, 0, 0),
                       uint64_t(InterlockedCompareExchange64(&window->lastEnd, 0, 0))};
    return ownWorkCovers(seen, GetTickCount64());
}
