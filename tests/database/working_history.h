#pragma once
// A working history for the benchmarks, as the two monitors report it: runs
// of thirty programs, Explorer operations on many files, Control Panel
// sessions, a boot every few thousand changes, a change every few seconds.
// Most changes are registry writes, as on a real machine; about one in five
// is a Delete or a Modify whose saved copy lies in the Undo Bin.

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "monitor/file_report.h"
#include "monitor/registry_report.h"

struct WorkingReports {
    std::vector<FileReportEntry> files;
    std::vector<RegistryReportEntry> registry;
};

class WorkingHistory {
public:
    // Saved copies are named as the monitor names them, "<8 hex digits>.sav"
    // in `binFolder`, numbered from 1, and spelled as it spells them. Entries
    // hold every other path in lower case, as the report readers hand them
    // over.
    explicit WorkingHistory(std::string binFolder);

    // The next `count` entries, each report in time order and every entry
    // later than all entries made before.
    WorkingReports next(size_t count);

    // The file names of the saved copies named so far, oldest first.
    const std::vector<std::string>& savedCopies() const { return savedCopies_; }

private:
    int below(int n) { return int(random_() % uint32_t(n)); }
    template <class Entry>
    void stamp(Entry& entry);
    std::string newSavedCopy();
    std::string nextCopyName();
    void startRun();

    std::string binFolder_;
    std::mt19937 random_{42};
    std::vector<std::string> savedCopies_;
    uint32_t copyNumber_ = 0;
    uint32_t processId_ = 100;
    int32_t seconds_ = 8 * 3600;
    uint16_t date_;
    // The run under way: who, where, and how many entries it has left.
    const char* program_ = "";
    std::string programPath_;
    std::string folder_;
    int32_t explorerKind_ = 0;
    int runLeft_ = 0;
};

// The Undo Bin beside a history: the saved copies of a report of
// `lostEntries` entries that was lost, which no entry names and the sweep
// deletes, and the copies of the newest entries made so far, `fileCount`
// files in all. Every earlier sweep has taken what it found, so the copies
// of one lost report are what a tray click can meet.
struct UndoBinFiles {
    std::vector<std::string> named;
    std::vector<std::string> orphans;
};
UndoBinFiles undoBinFiles(WorkingHistory& history, size_t fileCount, size_t lostEntries);
