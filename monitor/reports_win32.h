#pragma once
// Reading the monitor drivers' two reports from the Undo Bin.

#include <string>
#include <vector>

#include "base/whole_file_win32.h"
#include "monitor/file_report.h"
#include "monitor/registry_report.h"

// The reports' paths, made from the Undo Bin folder in freshly loaded
// settings, so a changed folder is followed.
std::string fileReportPath();
std::string registryReportPath();

// `status` is that of the read: Missing gives no entries and no message;
// Unreadable means the report is there but could not be read whole, so it
// should be kept rather than deleted as read. `size` is the report's up to
// the end of its last whole entry: what a later read may pass over.
struct FileReport {
    FileReadStatus status = FileReadStatus::Missing;
    std::vector<FileReportEntry> entries;
    size_t size = 0;
};

struct RegistryReport {
    FileReadStatus status = FileReadStatus::Missing;
    std::vector<RegistryReportEntry> entries;
    size_t size = 0;
};

// The file report, post-processed against `history` and the sizes of the
// files on disk now. The first `takenIn` bytes, taken in by an earlier
// rebuild that could not delete the report, are passed over; a report
// shorter than that is a new one.
FileReport readFileReport(const RecycledFromHistory& history, size_t takenIn = 0);

RegistryReport readRegistryReport(size_t takenIn = 0);
