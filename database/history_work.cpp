#include "database/history_work.h"

#include <atomic>

#include "database/background_queue.h"

namespace {
// Made on first use and never destroyed: every way the program ends waits
// for the work first, and a thread joined during the exit of the process
// could hold that exit up.
BackgroundQueue& historyQueue() {
    static BackgroundQueue* queue = new BackgroundQueue;
    return *queue;
}
// Set by the main thread only while it waits in supersedeHistoryWork, so
// work posted afterwards never sees it.
std::atomic<bool> superseded = false;
}  // namespace

void postHistoryWork(std::function<void()> job) { historyQueue().post(std::move(job)); }

void waitForHistoryWork() { historyQueue().waitUntilIdle(); }

void supersedeHistoryWork() {
    superseded = true;
    waitForHistoryWork();
    superseded = false;
}

bool historyWorkSuperseded() { return superseded; }

void holdHistoryWork() { historyQueue().hold(); }

void releaseHistoryWork() { historyQueue().release(); }
