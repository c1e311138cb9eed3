// Any bytes as "filereport.000": the entries read are bounded and in lower
// case, and post-processing them against a history (the report's own
// entries as earlier records) and merging them never faults.

#include <algorithm>

#include "database/merge_reports.h"
#include "monitor/file_report.h"
#include "tests/fuzz/fuzz_input.h"

namespace {
bool isLowerCase(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<FileReportEntry> entries = parseFileReport(fileBytes(data, size));
    require(entries.size() <= size / 48);
    std::vector<ActionRecord> history;
    for (const FileReportEntry& entry : entries) {
        require(entry.path.size() <= maxReportPathLength && entry.otherPath.size() <= maxReportPathLength);
        require(isLowerCase(entry.path) && isLowerCase(entry.otherPath) && isLowerCase(entry.programName));
        history.push_back(recordFromFileEntry(entry));
    }
    size_t read = entries.size();
    postProcessFileReport(entries, recycledFrom(history), [](const std::string& path) { return uint32_t(path.size()); });
    require(entries.size() <= read);
    std::vector<ActionRecord> records;
    mergeReports(std::move(entries), {}, records);
    return 0;
}
