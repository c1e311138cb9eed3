#include "browse/history_rows.h"

#include <cstdint>

#include "base/paths.h"

namespace {
// The rows of a collection, its last entry first.
template <typename Entry, typename Cells>
std::vector<ListRow> newestFirst(std::span<const Entry> entries, Cells cellsOf) {
    std::vector<ListRow> rows;
    for (size_t k = entries.size(); k-- > 0;) rows.push_back({cellsOf(entries[k]), int32_t(k)});
    return rows;
}
}  // namespace

std::vector<ListRow> programHistoryRows(std::span<const ProgramEntry> programs) {
    return newestFirst(programs, [](const ProgramEntry& entry) {
        uint32_t files = 0;
        for (const ProgramSession& session : entry.sessions) files += uint32_t(session.fileActions.size());
        return std::vector<std::string>{displayCase(entry.programName), formatCount(files),
                                        formatCount(uint32_t(entry.sessions.size()))};
    });
}

std::vector<ListRow> fileHistoryRows(std::span<const FileActionGroup> groups, std::span<const ActionRecord> records,
                                     const std::function<bool(const std::string&)>& isFolder) {
    return newestFirst(groups, [&](const FileActionGroup& group) {
        if (group.actions.empty()) return std::vector<std::string>(7);
        const ActionRecord& first = records[size_t(group.actions.front())];
        // Summed wide: the sizes of many large files must not wrap to a small total.
        uint64_t size = 0;
        for (int32_t action : group.actions) size += uint32_t(records[size_t(action)].sizeA);
        return std::vector<std::string>{group.actions.size() == 1 ? first.dataA : folderOf(first.dataA, isFolder),
                                        std::string(actionKindLabel(first.kind)),
                                        first.programName,
                                        formatCount(uint32_t(group.actions.size())),
                                        std::to_string(size),
                                        formatActionDate(first.date),
                                        formatActionTime(first.time)};
    });
}

std::vector<ListRow> appletHistoryRows(std::span<const AppletEntry> applets) {
    return newestFirst(applets, [](const AppletEntry& entry) {
        return std::vector<std::string>{entry.appletPath, formatCount(uint32_t(entry.sessions.size()))};
    });
}
