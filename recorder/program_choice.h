#pragma once
// Which program made a change, told from the lifetimes of processes: with no
// word from the system on who opened what, the change belongs to a process
// alive when it was seen. In order of preference: the one that ended within
// about a second after it (a program writes its settings as it exits), the
// one started since the last quiet moment, the one the person works in.
// Where two remain, nobody: an unknown program is said, a wrong one misleads.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Times are in the system clock's 100-nanosecond units.
inline constexpr uint64_t clockUnitsPerMillisecond = 10000;
// How long after a change a program that made it may still end and be told
// by that, and so how long the choice waits.
inline constexpr uint64_t exitAfterChangeMilliseconds = 1000;
// How long before a change is seen it may have been made: the notice and
// the settling of a registry burst come after the write.
inline constexpr uint64_t noticeLagMilliseconds = 150;

// How long after a change the process list may first be read for a choice
// to stand: a program that made the change and ended before that look was
// never seen, and whoever was seen would be named for it. A busy machine
// delays the looks; the change is then said to be of an unknown program.
inline constexpr uint64_t firstLookAfterChangeMostMilliseconds = 100;

// How long before it is seen a change may say it was written: a notice
// comes late while the recorder is busy, but a copy keeps its source's time.
inline constexpr uint64_t writtenBeforeSeenMostMilliseconds = 10000;

// When a change was made: the time its file or key says it was written,
// where that lies shortly before it was seen; else when it was seen.
uint64_t changeMadeAt(uint64_t written, uint64_t seen);

struct ProcessFacts {
    uint32_t processId = 0;
    uint32_t parentId = 0;
    std::string imagePath;   // the full path of its program file
    uint64_t startTime = 0;
};

// A process as the tracker saw it live, and when it ended once it has.
struct ProcessLife {
    ProcessFacts process;
    std::optional<uint64_t> endTime;
};

// What the reports say of a program: its module name, its file, its process.
// An unknown program has none of them.
struct Program {
    std::string moduleName;  // at most 8 characters
    std::string path;
    uint32_t processId = 0;
    bool known() const { return processId != 0; }
    friend bool operator==(const Program&, const Program&) = default;
};

// The module name of a program file: its name without the extension, cut
// to 8 characters, as the system's module list names it.
std::string moduleNameOf(std::string_view imagePath);

Program programOf(const ProcessFacts& process);

// A process that runs for the system rather than for the person, or is
// Retrace's own, by its program file's name: never the one who made a change.
bool isSystemProgram(std::string_view imagePath);

// The moments a choice is made for.
struct ChangeMoment {
    uint64_t quietSince = 0;  // the last quiet moment before the change's batch
    uint64_t made = 0;        // when the change was made, as near as is known; never after `seen`
    uint64_t seen = 0;        // when the change was seen
    uint64_t unseenFor = 0;   // how long after `made` the process list was first read; UINT64_MAX: not yet
};

// The process that made the change, from the processes seen over the time
// around it: alive when it was made, and for the exit rule ended soon after
// it was seen; `foregroundId` owns the window in front (0: none), `ownId` is
// the recorder. A process started after the change never made it, nor one
// that had ended before, nor a system process. Within one rule, a process
// whose child also qualifies gives way to it, as a launcher hands the work
// to what it starts. A process started since the quiet moment is contested
// by the program in front, unless that one started it or its launcher: a
// program that came only just before the change may be an unrelated one
// that happened to start then. Nothing when no rule leaves exactly one, or it is contested,
// or the processes went unseen too long after the change.
std::optional<ProcessFacts> chooseProcess(std::span<const ProcessLife> lives, ChangeMoment moment,
                                          uint32_t foregroundId, uint32_t ownId);
