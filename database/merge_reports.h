#pragma once
// Folding the two monitor reports into the action list.

#include <span>
#include <vector>

#include "database/action_record.h"
#include "monitor/file_report.h"
#include "monitor/registry_report.h"

// Appends one record per entry of both reports to `records`, in time order:
// each report is already in its own order, and of two entries of the same
// second the file entry goes first. The derived slots are left 0.
void mergeReports(std::span<const FileReportEntry> fileEntries,
                  std::span<const RegistryReportEntry> registryEntries, std::vector<ActionRecord>& records);

ActionRecord recordFromFileEntry(const FileReportEntry& entry);
ActionRecord recordFromRegistryEntry(const RegistryReportEntry& entry);
