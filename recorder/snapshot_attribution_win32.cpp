#include "recorder/snapshot_attribution_win32.h"

#include <tlhelp32.h>

#include <vector>

namespace {

uint64_t now() {
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    return uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

// The program file and start of a process; false when it cannot be asked.
bool describe(DWORD processId, ProcessFacts& facts) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return false;
    char path[MAX_PATH];
    DWORD length = sizeof path;
    FILETIME created, exited, kernel, user;
    bool known = QueryFullProcessImageNameA(process, 0, path, &length) &&
                 GetProcessTimes(process, &created, &exited, &kernel, &user);
    CloseHandle(process);
    if (!known) return false;
    facts.processId = processId;
    facts.imagePath.assign(path, length);
    facts.startTime = uint64_t(created.dwHighDateTime) << 32 | created.dwLowDateTime;
    return true;
}

std::vector<ProcessFacts> runningProcesses() {
    std::vector<ProcessFacts> processes;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return processes;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        ProcessFacts facts;
        facts.parentId = entry.th32ParentProcessID;
        if (describe(entry.th32ProcessID, facts)) processes.push_back(std::move(facts));
    }
    CloseHandle(snapshot);
    return processes;
}

// The program of the window in front, unless that is the desktop or the
// taskbar, where nobody works on a file.
Program foregroundProgram() {
    HWND window = GetForegroundWindow();
    char className[64] = "";
    if (!window || !GetClassNameA(window, className, sizeof className)) return {};
    for (const char* shell : {"Progman", "WorkerW", "Shell_TrayWnd", "#32769"})
        if (lstrcmpiA(className, shell) == 0) return {};
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    ProcessFacts facts;
    if (processId == GetCurrentProcessId() || !describe(processId, facts) || isSystemProgram(facts.imagePath)) return {};
    return programOf(facts);
}

Program starterSince(uint64_t quietSince) {
    std::optional<ProcessFacts> starter = soleNewProcess(runningProcesses(), quietSince, GetCurrentProcessId());
    return starter ? programOf(*starter) : Program{};
}

}  // namespace

SnapshotAttribution::SnapshotAttribution() : quietSince_(now()) {}

void SnapshotAttribution::batchBegins() {
    program_ = starterSince(quietSince_);
    lookedAgain_ = false;
}

// A batch may begin with a change the program did not make, before the
// program itself has started: then the list is looked at once more.
Program SnapshotAttribution::programOf(std::string_view) {
    if (!program_.known() && !lookedAgain_) {
        lookedAgain_ = true;
        program_ = starterSince(quietSince_);
        if (!program_.known()) program_ = foregroundProgram();
    }
    return program_;
}

void SnapshotAttribution::batchEnds() {
    quietSince_ = now();
    program_ = {};
}
