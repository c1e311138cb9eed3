#include "recorder/report_entries.h"

#include <cstring>

#include "monitor/action_kind.h"

namespace {
template <class Entry>
void stamp(Entry& entry, const ChangeStamp& s) {
    std::strncpy(entry.programName, s.program.moduleName.c_str(), 8);
    entry.programPath = s.program.path;
    entry.processId = s.program.processId;
    entry.date = s.date;
    entry.time = s.time;
}
}  // namespace

FileReportEntry fileEntryOf(const FileChange& change, uint32_t size, const std::string& savedCopy,
                            const ChangeStamp& s) {
    FileReportEntry entry;
    stamp(entry, s);
    entry.path = change.path;
    entry.size = size;
    entry.kind = change.kind;
    entry.otherPath = change.kind == kindDelete || change.kind == kindModify ? savedCopy : change.otherPath;
    return entry;
}

RegistryReportEntry registryEntryOf(const RegistryChange& change, const ChangeStamp& s) {
    RegistryReportEntry entry;
    stamp(entry, s);
    entry.kind = change.kind;
    entry.valueType = change.valueType;
    entry.oldData = change.oldData;
    entry.newData = change.newData;
    entry.registryPath = change.path;
    return entry;
}
