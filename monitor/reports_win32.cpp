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

FileReport readFileReport(std::span<const ActionRecord> history) {
    WholeFile file = readWholeFile(fileReportPath());
    FileReport report{file.status, parseFileReport(file.bytes)};
    postProcessFileReport(report.entries, history, fileSizeOf);
    return report;
}

RegistryReport readRegistryReport() {
    WholeFile file = readWholeFile(registryReportPath());
    return {file.status, parseRegistryReport(file.bytes)};
}
