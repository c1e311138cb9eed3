#include "browse/find_rows.h"

namespace {
int32_t kindOf(FindTab tab) {
    switch (tab) {
    case FindTab::Create:
        return kindCreate;
    case FindTab::Modify:
        return kindModify;
    case FindTab::Rename:
        return kindRename;
    case FindTab::Copy:
        return kindCopy;
    case FindTab::Move:
        return kindMove;
    case FindTab::Download:
        break;
    }
    return kindNone;
}

bool listedOnKindTab(const ActionRecord& record, int32_t kind) {
    if (record.undone() || record.isBootMarker()) return false;
    if (record.isExplorer() && (record.isIniFile() || record.source == sourceRegistryReport)) return false;
    if (!record.isExplorer() && record.isSetting()) return false;
    return record.kind == kind;
}
}  // namespace

std::vector<int32_t> findTabRecords(std::span<const ActionRecord> records, FindTab tab) {
    std::vector<int32_t> listed;
    for (size_t i = records.size(); i-- > 0;) {
        const ActionRecord& record = records[i];
        const bool shown = tab == FindTab::Download ? record.isDownload() && !record.undone()
                                                    : listedOnKindTab(record, kindOf(tab));
        if (shown) listed.push_back(int32_t(i));
    }
    return listed;
}

ListRow findRow(const ActionRecord& record, int32_t index) {
    return {{record.dataA, formatActionDate(record.date), formatActionTime(record.time)}, index};
}

RecordText pathNowOf(const ActionRecord& record) {
    const bool moved = record.kind == kindRename || record.kind == kindMove;
    return moved && !record.dataB.empty() ? record.dataB : record.dataA;
}
