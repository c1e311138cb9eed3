#include "database/merge_reports.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "base/dos_time.h"
#include "base/ignore_case_hash.h"
#include "base/text.h"

namespace {
void copyProgramName(char (&to)[9], const char (&from)[9]) {
    setFieldText(to, fieldText(from));
}

// What both reports say alike: who made the change, what kind, and when.
template <class Entry>
ActionRecord recordOfProcess(Entry& entry) {
    ActionRecord record;
    copyProgramName(record.programName, entry.programName);
    record.programPath = RecordText::interned(entry.programPath);
    record.processId = int32_t(entry.processId);
    record.kind = entry.kind;
    record.date = entry.date;
    record.time = entry.time;
    return record;
}

}  // namespace

ActionRecord recordFromFileEntry(FileReportEntry entry) {
    ActionRecord record = recordOfProcess(entry);
    record.source = sourceFileReport;
    record.sizeA = int32_t(entry.size);
    record.sizeB = int32_t(entry.extra);
    switch (entry.kind) {
    case kindCreate:
    case kindCopy:
        record.dataA = std::move(entry.path);
        break;
    case kindRename:
    case kindMove:
        record.dataA = std::move(entry.path);
        record.dataB = std::move(entry.otherPath);
        break;
    case kindBootMarker:
        record.dataA = fieldText(entry.markerText);
        break;
    default:  // Delete, Modify and Recycle name their saved copy; so does any unknown kind
        record.dataA = std::move(entry.path);
        record.dataC = std::move(entry.otherPath);
        break;
    }
    return record;
}

ActionRecord recordFromRegistryEntry(RegistryReportEntry entry) {
    ActionRecord record = recordOfProcess(entry);
    record.source = sourceRegistryReport;
    record.sizeA = int32_t(entry.oldData.size());
    record.dataA = std::move(entry.oldData);
    record.sizeB = int32_t(entry.newData.size());
    record.dataB = std::move(entry.newData);
    record.dataC = RecordText::shared(entry.registryPath);
    record.valueType = int32_t(entry.valueType);
    return record;
}

void mergeReports(std::vector<FileReportEntry> fileEntries, std::vector<RegistryReportEntry> registryEntries,
                  std::vector<ActionRecord>& records) {
    // Room for all at once, yet growing by doubling, so that a long history
    // is not moved whole at every rebuild.
    size_t needed = records.size() + fileEntries.size() + registryEntries.size();
    if (needed > records.capacity()) records.reserve(std::max(needed, 2 * records.capacity()));
    RecordTextBulk bulk;
    auto file = fileEntries.begin();
    auto registry = registryEntries.begin();
    while (file != fileEntries.end() && registry != registryEntries.end()) {
        if (compareDosMoments(file->date, file->time, registry->date, registry->time) > 0)
            records.push_back(recordFromRegistryEntry(std::move(*registry++)));
        else
            records.push_back(recordFromFileEntry(std::move(*file++)));
    }
    for (; file != fileEntries.end(); ++file) records.push_back(recordFromFileEntry(std::move(*file)));
    for (; registry != registryEntries.end(); ++registry)
        records.push_back(recordFromRegistryEntry(std::move(*registry)));
}

void RecycleOriginIndex::extend(std::span<const ActionRecord> history, uint64_t moves,
                                const std::function<bool()>& giveUp) {
    if (moves_ != moves || covered_ > history.size()) {
        byBinPath_.clear();
        covered_ = 0;
        moves_ = moves;
    }
    constexpr size_t recordsBetweenAsks = 65536;
    // Oldest first, so that a newer record of the same copy takes its place.
    for (; covered_ < history.size(); ++covered_) {
        if (giveUp && covered_ % recordsBetweenAsks == 0 && giveUp()) return;
        if (history[covered_].kind == kindRecycle) byBinPath_[history[covered_].dataC] = covered_;
    }
}

std::optional<std::string_view> RecycleOriginIndex::find(std::span<const ActionRecord> history, uint64_t moves,
                                                          std::string_view binPath) {
    extend(history, moves);
    auto found = byBinPath_.find(binPath);
    if (found == byBinPath_.end()) return std::nullopt;
    return history[found->second].dataA.view();
}

RecycledFromHistory recycledFrom(std::span<const ActionRecord> history) {
    return [history, index = std::make_shared<RecycleOriginIndex>()](std::string_view binPath) {
        return index->find(history, 0, binPath);
    };
}
