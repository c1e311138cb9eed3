#include "tests/database/working_history.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "base/dos_time.h"
#include "base/text.h"
#include "database/action_record.h"

namespace {
const char* const programs[] = {"notepad",  "winword",  "excel",    "iexplore", "netscape", "mspaint",
                                "wordpad",  "regedit",  "setup",    "install",  "acrord32", "winzip",
                                "outlook",  "sndrec32", "calc",     "pbrush",   "write",    "msaccess",
                                "powerpnt", "frontpg",  "photoshp", "eudora",   "ftp",      "telnet",
                                "mplayer",  "cdplayer", "dialer",   "winfile",  "taskman",  "sysedit"};
const char* const extensions[] = {"doc", "txt", "ini", "dll", "tmp", "xls", "htm", "jpg", "zip", "dat"};
}  // namespace

WorkingHistory::WorkingHistory(std::string binFolder)
    : binFolder_(std::move(binFolder)), date_(encodeDosDate(1998, 3, 1)) {}

template <class Entry>
void WorkingHistory::stamp(Entry& entry) {
    seconds_ += 2 * below(4);
    if (seconds_ >= 86400) seconds_ = 0, ++date_;
    entry.date = date_;
    entry.time = encodeDosTime(seconds_ / 3600, seconds_ / 60 % 60, seconds_ % 60);
}

std::string WorkingHistory::nextCopyName() {
    char name[16];
    std::snprintf(name, sizeof name, "%08X.sav", unsigned(++copyNumber_));
    return name;
}

std::string WorkingHistory::newSavedCopy() {
    savedCopies_.push_back(nextCopyName());
    return binFolder_ + "\\" + savedCopies_.back();
}

void WorkingHistory::startRun() {
    bool explorer = below(4) == 0;
    program_ = explorer ? "explorer" : below(10) == 0 ? "CPL" : programs[below(30)];
    programPath_ = std::string("c:\\windows\\") + program_ + (std::strcmp(program_, "CPL") ? ".exe" : ".cpl");
    folder_ = "c:\\my documents\\project " + std::to_string(below(50));
    explorerKind_ = explorer ? std::array{kindDelete, kindRecycle, kindCopy, kindMove}[below(4)] : 0;
    runLeft_ = 1 + below(explorer ? 20 : 40);
    ++processId_;
}

WorkingReports WorkingHistory::next(size_t count) {
    WorkingReports reports;
    while (reports.files.size() + reports.registry.size() < count) {
        if (runLeft_ == 0) {
            if (below(400) == 0) {
                FileReportEntry boot;
                boot.kind = kindBootMarker;
                std::strcpy(boot.markerText, "BOOT0001");
                stamp(boot);
                reports.files.push_back(boot);
                processId_ = 100;  // ids come round again after a boot
                continue;
            }
            startRun();
        }
        --runLeft_;
        if (explorerKind_ == 0 && below(4) != 0) {
            RegistryReportEntry entry;
            std::strcpy(entry.programName, program_);
            entry.programPath = programPath_;
            entry.processId = processId_;
            entry.kind = 10 + below(5);
            entry.valueType = 4;
            entry.oldData = std::string("\1\0\0\0", 4);
            entry.newData = std::string("\2\0\0\0", 4);
            entry.registryPath = "hkcu\\software\\vendor\\" + std::string(program_) + "\\settings\\value" +
                                 std::to_string(below(20));
            stamp(entry);
            reports.registry.push_back(entry);
            continue;
        }
        FileReportEntry entry;
        std::strcpy(entry.programName, program_);
        entry.programPath = programPath_;
        entry.processId = processId_;
        entry.kind = explorerKind_ ? explorerKind_
                                   : std::array{kindCreate, kindModify, kindModify, kindDelete}[below(4)];
        entry.path = folder_ + "\\file " + std::to_string(below(1000)) + "." + extensions[below(10)];
        if (entry.kind == kindMove) entry.otherPath = "c:\\archive\\file.doc";
        if (entry.kind == kindRecycle) entry.otherPath = "c:\\recycled\\dc" + std::to_string(below(100000)) + ".doc";
        if (entry.kind == kindDelete || entry.kind == kindModify) entry.otherPath = newSavedCopy();
        entry.size = uint32_t(below(100000));
        stamp(entry);
        reports.files.push_back(entry);
    }
    return reports;
}

UndoBinFiles undoBinFiles(WorkingHistory& history, size_t fileCount, size_t lostEntries) {
    const size_t madeBefore = history.savedCopies().size();
    history.next(lostEntries);
    const std::vector<std::string>& copies = history.savedCopies();
    UndoBinFiles files;
    files.orphans.assign(copies.begin() + ptrdiff_t(madeBefore), copies.end());
    size_t named = std::min(fileCount - std::min(fileCount, files.orphans.size()), madeBefore);
    files.named.assign(copies.begin() + ptrdiff_t(madeBefore - named), copies.begin() + ptrdiff_t(madeBefore));
    return files;
}
