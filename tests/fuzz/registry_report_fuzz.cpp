// Any bytes as "regreport.000": every entry read is written back by the
// monitor's own writer to the bytes it reads again, and its record survives
// a save and a load of the action list, value data with zero bytes and all.

#include "database/action_list.h"
#include "database/merge_reports.h"
#include "monitor/registry_report.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<RegistryReportEntry> entries = parseRegistryReport(fileBytes(data, size));
    for (const RegistryReportEntry& entry : entries) {
        require(entry.registryPath.size() <= maxRegistryPathLength && entry.programPath.size() <= maxReportPathLength);
        std::string written = serializeRegistryReportEntry(entry);
        std::vector<RegistryReportEntry> again = parseRegistryReport(written);
        require(again.size() == 1 && serializeRegistryReportEntry(again[0]) == written);
    }
    std::vector<ActionRecord> records;
    mergeReports({}, std::move(entries), records);
    ParsedActionList loaded = parseActionList(serializeActionList(records));
    require(!loaded.damaged && loaded.records.size() == records.size());
    for (size_t i = 0; i < records.size(); ++i)
        require(loaded.records[i].dataA == records[i].dataA && loaded.records[i].dataB == records[i].dataB);
    return 0;
}
