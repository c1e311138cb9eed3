#include "monitor/reports_win32.h"

#include "base/file_operations_win32.h"
#include "base/text.h"
#include "settings/settings_store_win32.h"

namespace {
std::string undoBinFile(const char* name) {
    Settings settings;
    loadSettings(settings);
    return std::string(fieldText(settings.UndoBinPath)) + "\\" + name;
}
}  // namespace

std::string fileReportPath() { return undoBinFile("filereport.000"); }

std::string registryReportPath() { return undoBinFile("regreport.000"); }

namespace {
// A report shorter than what was taken in is a new one, read whole.
size_t skipped(const WholeFile& file, size_t takenIn) { return takenIn <= file.bytes.size() ? takenIn : 0; }
}  // namespace

FileReport readFileReport(const RecycledFromHistory& history, size_t takenIn) {
    WholeFile file = readWholeFile(fileReportPath());
    size_t from = skipped(file, takenIn), whole = 0;
    FileReport report{file.status, parseFileReport(std::string_view(file.bytes).substr(from), &whole), from + whole};
    postProcessFileReport(report.entries, history, fileSizeOf);
    return report;
}

RegistryReport readRegistryReport(size_t takenIn) {
    WholeFile file = readWholeFile(registryReportPath());
    size_t from = skipped(file, takenIn), whole = 0;
    std::vector<RegistryReportEntry> entries = parseRegistryReport(std::string_view(file.bytes).substr(from), &whole);
    return {file.status, std::move(entries), from + whole};
}
