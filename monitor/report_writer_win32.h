#pragma once
// What a change monitor leaves in the Undo Bin: entries appended to
// "filereport.000" and "regreport.000", saved copies of earlier contents
// beside them, and boot markers with their Start Over set in the "SO"
// folder. The monitor stand-in and the recorder both write through this one
// writer, so the two cannot drift apart in what the readers get.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "monitor/file_report.h"
#include "monitor/registry_report.h"

enum class AppendResult {
    Written,
    DoesNotFit,  // a path too long for the format: nothing written
    Failed,      // the report could not be written; GetLastError tells why
};

class ReportWriter {
public:
    // The bin folder is made when missing.
    explicit ReportWriter(std::string binFolder);

    const std::string& binFolder() const { return bin_; }

    AppendResult appendFile(const FileReportEntry& entry);
    AppendResult appendRegistry(const RegistryReportEntry& entry);

    // Stores `content` as a saved copy under a fresh name ("<8 hex
    // digits>.sav") in `folder`, the bin when empty, and returns its path;
    // "" when it could not be written.
    std::string saveCopy(std::string_view content, const std::string& folder = {});

    // The same for content already in the saved-copy format.
    std::string saveEncodedCopy(std::string_view encoded, const std::string& folder = {});

    // Moves a saved copy kept elsewhere into the bin under a fresh name and
    // returns its new path; "" when it could not be moved.
    std::string adoptCopy(const std::string& savedCopy);

    // A monitor's start: saves the Start Over set of the system files that
    // exist under `marker` (bootMarkerText of the moment when empty), then
    // appends the boot marker.
    AppendResult appendBootMarker(uint16_t date, uint16_t time, std::string marker = {});

private:
    std::string freshCopyPath(const std::string& folder);
    AppendResult appendToReport(const char* report, const std::string& bytes);
    bool saveStartOverSet(const std::string& marker);

    std::string bin_;
    uint32_t nextCopyNumber_;
};
