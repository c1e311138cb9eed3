#pragma once
// Which program made a change, told from what a process list shows: with no
// word from the system on who opened what, the best guess is the one program
// started since the last quiet moment, else the one the person works in.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct ProcessFacts {
    uint32_t processId = 0;
    uint32_t parentId = 0;
    std::string imagePath;   // the full path of its program file
    uint64_t startTime = 0;  // in the caller's clock
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

// A process that runs for the system rather than for the person, by its
// program file's name: never the one who made a change.
bool isSystemProgram(std::string_view imagePath);

// The one process started after `quietSince` that is neither a system
// process nor `ownId`. A process whose child also qualifies gives way to
// it, as a launcher hands the work to what it starts. Nothing when no
// process or more than one remains.
std::optional<ProcessFacts> soleNewProcess(std::span<const ProcessFacts> processes, uint64_t quietSince,
                                           uint32_t ownId);
