#include "recorder/process_tracker_win32.h"

#include <winternl.h>

#include <algorithm>
#include <set>

namespace {

// While changes come: often enough to see a program that lives 100 ms at
// least twice, since under Wine the first look may come before it can tell
// its program file.
constexpr DWORD lookEveryMilliseconds = 40;
// While nothing changes: the looks at once on a change find who makes it,
// so these only keep the list fresh, at a quarter of a percent of a core.
constexpr DWORD lookWhileQuietMilliseconds = 250;
// How long after a change the looks stay frequent: past the batch's close,
// so that those who end after their change are seen to.
constexpr uint64_t stirLastsMilliseconds = 3000;
// How long an ended process is remembered: longer than any batch waits.
constexpr uint64_t rememberEndedMilliseconds = 30000;
// How many looks a new process has to tell its program file, about 2 s.
constexpr int mostDescribeAttempts = 50;
// How long the window in front is taken as known for one batch's choices.
constexpr uint64_t foregroundFreshMilliseconds = 50;

uint64_t timeValue(const FILETIME& time) { return uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime; }

// The system's process list, read into a buffer kept from one look to the
// next: read straight from the kernel it costs a fraction of a snapshot,
// which copies it once more. False when it cannot be read.
bool readProcessList(std::vector<BYTE>& buffer) {
    constexpr NTSTATUS lengthMismatch = NTSTATUS(0xC0000004L);
    for (int attempt = 0; attempt < 4; ++attempt) {
        ULONG needed = 0;
        NTSTATUS status = NtQuerySystemInformation(SystemProcessInformation, buffer.data(), ULONG(buffer.size()), &needed);
        if (status >= 0) return true;
        if (status != lengthMismatch) return false;
        // Room for processes that start before the next try.
        buffer.resize(std::max<size_t>(needed, buffer.size()) + 64 * 1024);
    }
    return false;
}

// The program file and start of the process. A process caught as it starts
// may not tell its program file yet, and under Wine may give a start time
// that is not one yet: false, and it is asked again later.
bool describe(HANDLE handle, ProcessFacts& process) {
    char path[MAX_PATH];
    DWORD length = sizeof path;
    FILETIME created, exited, kernel, user;
    if (!QueryFullProcessImageNameA(handle, 0, path, &length) || length == 0 ||
        !GetProcessTimes(handle, &created, &exited, &kernel, &user) || timeValue(created) == 0 ||
        timeValue(created) > systemClockNow())
        return false;
    process.imagePath.assign(path, length);
    process.startTime = timeValue(created);
    return true;
}

uint64_t exitTimeOf(HANDLE handle) {
    FILETIME created, exited, kernel, user;
    if (handle && GetProcessTimes(handle, &created, &exited, &kernel, &user) && timeValue(exited) != 0)
        return timeValue(exited);
    return systemClockNow();
}

// The process of the window in front, unless that is the desktop or the
// taskbar, where nobody works on a file.
uint32_t foregroundProcess() {
    HWND window = GetForegroundWindow();
    char className[64] = "";
    if (!window || !GetClassNameA(window, className, sizeof className)) return 0;
    for (const char* shell : {"Progman", "WorkerW", "Shell_TrayWnd", "#32769"})
        if (lstrcmpiA(className, shell) == 0) return 0;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

}  // namespace

uint64_t systemClockNow() {
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    return timeValue(time);
}

ProcessTracker::ProcessTracker()
    : quietSince_(systemClockNow()), quit_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      stirred_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    look();
    thread_ = std::thread([this] { run(); });
}

ProcessTracker::~ProcessTracker() {
    SetEvent(quit_);
    thread_.join();
    CloseHandle(quit_);
    CloseHandle(stirred_);
    for (auto& [id, running] : running_)
        if (running.handle) CloseHandle(running.handle);
}

void ProcessTracker::changesStir() {
    stirredAt_ = GetTickCount64();
    SetEvent(stirred_);
}

bool ProcessTracker::stirring() const { return GetTickCount64() - stirredAt_ < stirLastsMilliseconds; }

void ProcessTracker::run() {
    const HANDLE wakers[] = {quit_, stirred_};
    for (;;) {
        DWORD woken = WaitForMultipleObjects(2, wakers, FALSE, stirring() ? lookEveryMilliseconds : lookWhileQuietMilliseconds);
        if (woken != WAIT_TIMEOUT && woken != WAIT_OBJECT_0 + 1) return;
        look();
    }
}

// Compares the process list with the processes known: the new are opened
// and described, the gone get their exit time. A process that has ended
// but is still held open by someone is listed without threads.
void ProcessTracker::look() {
    const uint64_t listedAt = systemClockNow();
    if (!readProcessList(processList_)) return;
    std::set<uint32_t> present;
    std::vector<std::pair<uint32_t, uint32_t>> fresh;  // process and parent
    {
        std::lock_guard lock(mutex_);
        for (size_t offset = 0;;) {
            const auto& entry = *reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(processList_.data() + offset);
            const auto id = uint32_t(uintptr_t(entry.UniqueProcessId));
            if (entry.NumberOfThreads != 0 && id != 0) {
                present.insert(id);
                if (!running_.contains(id)) fresh.emplace_back(id, uint32_t(uintptr_t(entry.InheritedFromUniqueProcessId)));
            }
            if (entry.NextEntryOffset == 0) break;
            offset += entry.NextEntryOffset;
        }
    }
    std::vector<Running> opened;
    for (auto [id, parent] : fresh) {
        Running running;
        running.life.process = {id, parent, "", 0};
        // A handle kept so that its exit time can be asked after it ends.
        running.handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id);
        if (running.handle) describe(running.handle, running.life.process);
        opened.push_back(std::move(running));
    }
    const uint64_t now = systemClockNow();
    std::lock_guard lock(mutex_);
    bool changed = !opened.empty();
    for (Running& running : opened) running_[running.life.process.processId] = std::move(running);
    for (auto it = running_.begin(); it != running_.end();) {
        Running& running = it->second;
        const bool undescribed = running.handle && running.life.process.imagePath.empty();
        if (undescribed && running.describeAttempts++ < mostDescribeAttempts &&
            describe(running.handle, running.life.process))
            changed = true;
        if (present.contains(it->first)) {
            ++it;
            continue;
        }
        ProcessLife life = std::move(running.life);
        life.endTime = exitTimeOf(running.handle);
        if (running.handle) CloseHandle(running.handle);
        // Kept even when its program file was never told: it lived, and may
        // have made the change that another would otherwise be named for.
        ended_.push_back(std::move(life));
        it = running_.erase(it);
        changed = true;
    }
    while (!ended_.empty() && *ended_.front().endTime + rememberEndedMilliseconds * clockUnitsPerMillisecond < now) {
        ended_.pop_front();
        changed = true;
    }
    if (!looks_.empty() && listedAt < looks_.back()) looks_.clear();  // the clock was set back
    looks_.push_back(listedAt);
    while (looks_.front() + rememberEndedMilliseconds * clockUnitsPerMillisecond < now) looks_.pop_front();
    if (changed) ++generation_;
}

Program ProcessTracker::programOf(std::string_view, uint64_t made, uint64_t seen) {
    uint64_t tick = GetTickCount64();
    if (tick - foregroundAsked_ > foregroundFreshMilliseconds) {
        foreground_ = foregroundProcess();
        foregroundAsked_ = tick;
    }
    uint64_t unseenFor = UINT64_MAX;
    {
        std::lock_guard lock(mutex_);
        if (livesGeneration_ != generation_) {
            lives_.assign(ended_.begin(), ended_.end());
            for (const auto& [id, running] : running_) lives_.push_back(running.life);
            livesGeneration_ = generation_;
        }
        auto firstLook = std::lower_bound(looks_.begin(), looks_.end(), made);
        if (firstLook != looks_.end()) unseenFor = *firstLook - made;
    }
    std::optional<ProcessFacts> chosen =
        chooseProcess(lives_, {quietSince_, made, seen, unseenFor}, foreground_, GetCurrentProcessId());
    return chosen ? ::programOf(*chosen) : Program{};
}

void ProcessTracker::batchEnds() { quietSince_ = systemClockNow(); }
