#include "engine/later_change.h"

#include "base/text.h"

std::optional<size_t> laterChangeOf(std::span<const ActionRecord> records, size_t index) {
    if (index >= records.size()) return std::nullopt;
    std::string_view path = records[index].dataA;
    for (size_t later = index + 1; later < records.size(); ++later) {
        const ActionRecord& record = records[later];
        // A registry record's dataA is value data, which may spell the path
        // by chance but never holds a copy of the file.
        if (record.source != sourceFileReport) continue;
        // The shell's and the system message server's writes belong to no
        // program's settings session, so they do not mark where one ended.
        if (record.isExplorer()) continue;
        if (equalsIgnoreCase(fieldText(record.programName), "msgsrv32")) continue;
        if (equalsIgnoreCase(record.dataA, path)) return later;
    }
    return std::nullopt;
}
