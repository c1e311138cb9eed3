#include "database/merge_reports.h"

#include "database/dos_time.h"
#include "settings/settings_lists.h"

namespace {
void copyProgramName(char (&to)[9], const char (&from)[9]) {
    setFieldText(to, fieldText(from));
}
}  // namespace

ActionRecord recordFromFileEntry(const FileReportEntry& entry) {
    ActionRecord record;
    copyProgramName(record.programName, entry.programName);
    record.programPath = entry.programPath;
    record.processId = int32_t(entry.processId);
    record.kind = entry.kind;
    record.date = entry.date;
    record.time = entry.time;
    record.source = sourceFileReport;
    record.sizeA = int32_t(entry.size);
    record.sizeB = int32_t(entry.extra);
    switch (entry.kind) {
    case kindCreate:
    case kindCopy:
        record.dataA = entry.path;
        break;
    case kindRename:
    case kindMove:
        record.dataA = entry.path;
        record.dataB = entry.otherPath;
        break;
    case kindBootMarker:
        record.dataA = fieldText(entry.markerText);
        break;
    default:  // Delete, Modify and Recycle name their saved copy; so does any unknown kind
        record.dataA = entry.path;
        record.dataC = entry.otherPath;
        break;
    }
    return record;
}

ActionRecord recordFromRegistryEntry(const RegistryReportEntry& entry) {
    ActionRecord record;
    copyProgramName(record.programName, entry.programName);
    record.programPath = entry.programPath;
    record.processId = int32_t(entry.processId);
    record.kind = entry.kind;
    record.date = entry.date;
    record.time = entry.time;
    record.source = sourceRegistryReport;
    record.dataA = entry.oldData;
    record.sizeA = int32_t(entry.oldData.size());
    record.dataB = entry.newData;
    record.sizeB = int32_t(entry.newData.size());
    record.dataC = entry.registryPath;
    record.valueType = int32_t(entry.valueType);
    return record;
}

void mergeReports(std::span<const FileReportEntry> fileEntries,
                  std::span<const RegistryReportEntry> registryEntries, std::vector<ActionRecord>& records) {
    auto file = fileEntries.begin();
    auto registry = registryEntries.begin();
    while (file != fileEntries.end() && registry != registryEntries.end()) {
        if (compareDosMoments(file->date, file->time, registry->date, registry->time) > 0)
            records.push_back(recordFromRegistryEntry(*registry++));
        else
            records.push_back(recordFromFileEntry(*file++));
    }
    for (; file != fileEntries.end(); ++file) records.push_back(recordFromFileEntry(*file));
    for (; registry != registryEntries.end(); ++registry) records.push_back(recordFromRegistryEntry(*registry));
}
