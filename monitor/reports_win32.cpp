#include "monitor/reports_win32.h"

#include "browse/file_operations_win32.h"
#include "settings/settings_lists.h"
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
std::string_view untaken(const WholeFile& file, size_t takenIn) {
    std::string_view bytes = file.bytes;
    if (takenIn <= bytes.size()) bytes.remove_prefix(takenIn);
    return bytes;
}
}  // namespace

FileReport readFileReport(std::span<const ActionRecord> history, size_t takenIn) {
    WholeFile file = readWholeFile(fileReportPath());
    FileReport report{file.status, parseFileReport(untaken(file, takenIn)), file.bytes.size()};
    postProcessFileReport(report.entries, history, fileSizeOf);
    return report;
}

RegistryReport readRegistryReport(size_t takenIn) {
    WholeFile file = readWholeFile(registryReportPath());
    return {file.status, parseRegistryReport(untaken(file, takenIn)), file.bytes.size()};
}
