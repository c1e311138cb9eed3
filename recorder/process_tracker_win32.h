#pragma once
// Who made a change, as far as processes coming and going tell: a thread
// looks at the process list, and keeps a handle to every process it has
// seen, so that when one ends its exit time is known. It looks at once when
// something changes and then often enough to see a program that lives a
// tenth of a second; while nothing changes, seldom, since each look costs.
// The choice itself is chooseProcess's.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "recorder/change_attribution.h"

// The system clock, in the unit of process times.
uint64_t systemClockNow();

class ProcessTracker : public ChangeAttribution {
public:
    ProcessTracker();
    ~ProcessTracker() override;
    ProcessTracker(const ProcessTracker&) = delete;
    ProcessTracker& operator=(const ProcessTracker&) = delete;

    void batchBegins() override {}
    void changesStir() override;
    uint64_t answerDelayMilliseconds() const override { return exitAfterChangeMilliseconds; }
    Program programOf(std::string_view path, uint64_t made, uint64_t seen) override;
    void batchEnds() override;

private:
    struct Running {
        ProcessLife life;         // without a program file while the process cannot tell it yet
        HANDLE handle = nullptr;  // none when the process cannot be asked
        int describeAttempts = 0;
    };
    void run();
    void look();
    bool stirring() const;

    std::vector<BYTE> processList_ = std::vector<BYTE>(256 * 1024);  // the tracker thread's own
    std::mutex mutex_;  // guards the processes and their generation
    std::map<uint32_t, Running> running_;
    std::deque<ProcessLife> ended_;  // oldest first
    std::deque<uint64_t> looks_;     // when the process list was read, oldest first
    uint64_t generation_ = 0;        // counts the changes to the processes
    // The main thread's copy for one batch's choices.
    std::vector<ProcessLife> lives_;
    uint64_t livesGeneration_ = UINT64_MAX;
    uint32_t foreground_ = 0;
    uint64_t foregroundAsked_ = 0;
    uint64_t quietSince_;
    std::atomic<uint64_t> stirredAt_ = 0;  // the tick count of the last stir
    HANDLE quit_;
    HANDLE stirred_;
    std::thread thread_;
};
