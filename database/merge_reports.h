#pragma once
// Folding the two monitor reports into the action list.

#include <span>
#include <vector>

#include "database/action_record.h"
#include "monitor/file_report.h"
#include "monitor/registry_report.h"

// Appends one record per entry of both reports to `records`, in time order:
// each report is already in its own order, and of two entries of the same
// second the file entry goes first. The derived slots are left 0. The
// entries are used up: their texts move into the records.
void mergeReports(std::vector<FileReportEntry> fileEntries, std::vector<RegistryReportEntry> registryEntries,
                  std::vector<ActionRecord>& records);

ActionRecord recordFromFileEntry(FileReportEntry entry);
ActionRecord recordFromRegistryEntry(RegistryReportEntry entry);

// The history's answer to where a recycled file was before: its newest
// Recycle record's path. `history` must outlive the answer, which indexes
// it on the first question only, since most reports ask none.
RecycledFromHistory recycledFrom(std::span<const ActionRecord> history);
