#include "tests/e2e/large_history_win32.h"

#include <windows.h>

#include <cstdio>

#include "base/paths.h"
#include "base/text.h"
#include "database/action_list.h"
#include "database/derive_flags.h"
#include "engine/file_transfer_win32.h"
#include "monitor/saved_copy.h"
#include "settings/registered_extensions_win32.h"
#include "settings/settings_store_win32.h"
#include "tests/database/record_builder.h"

namespace {

std::vector<ActionRecord> writerActions(const std::string& docs, size_t count, size_t perRun, int32_t kind) {
    std::vector<ActionRecord> records;
    records.reserve(count);
    for (size_t k = 0; k < count; ++k) {
        const size_t run = k / perRun;
        char name[32];
        std::snprintf(name, sizeof name, "\\file%05zu.doc", k + 1);
        records.push_back(RecordBuilder("WRITER", int32_t(1000 + run), kind)
                              .paths(toLowerAscii(docs) + name)
                              .programPath("c:\\apps\\writer.exe")
                              .at(int(run / 60 % 24), int(run % 60), 2026, 12, int(1 + run / 1440 % 28)));
    }
    return records;
}

}  // namespace

std::vector<ActionRecord> writerCreates(const std::string& docs, size_t count, size_t perRun) {
    return writerActions(docs, count, perRun, kindCreate);
}

std::vector<ActionRecord> writerModifies(const std::string& docs, const std::string& bin, size_t count,
                                         size_t perRun) {
    std::vector<ActionRecord> records = writerActions(docs, count, perRun, kindModify);
    for (size_t k = 0; k < records.size(); ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "\\%08zu.sav", k + 1);
        records[k].dataC = bin + name;
    }
    return records;
}

void storeHistory(const std::string& bin, std::vector<ActionRecord> records) {
    for (const ActionRecord& record : records)
        if (record.kind == kindModify && !record.dataC.empty())
            writeWholeFile(record.dataC, encodeSavedCopy("earlier " + std::string(fileNameOf(record.dataA))));
    Settings settings;
    loadSettings(settings);
    deriveFlags(records, {buildDataFileExtensions(), settings.szDownloadModules});
    writeWholeFile(bin + "\\" + actionListFileName, serializeActionList(records));
}
