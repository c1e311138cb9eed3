#pragma once
// The recorder's changes as the two reports' entries, stamped with who made
// them and when.

#include <cstdint>
#include <string>

#include "monitor/file_report.h"
#include "monitor/registry_report.h"
#include "recorder/file_correlator.h"
#include "recorder/program_choice.h"
#include "recorder/registry_shadow.h"

struct ChangeStamp {
    Program program;
    uint16_t date = 0;  // MS-DOS date and time
    uint16_t time = 0;
};

// `size` is the file's size; `savedCopy` the saved copy of a Delete or a
// Modify, or "" when there is none.
FileReportEntry fileEntryOf(const FileChange& change, uint32_t size, const std::string& savedCopy,
                            const ChangeStamp& stamp);

RegistryReportEntry registryEntryOf(const RegistryChange& change, const ChangeStamp& stamp);
