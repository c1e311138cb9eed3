#pragma once
// Folding the two monitor reports into the action list.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/ignore_case_hash.h"
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

// Where the history says a file now in the Recycle Bin was before: its
// newest Recycle record's path. The index is made on the first question,
// or ahead of it, and then kept from click to click and extended with the
// records appended since, so that a click with a delete does not walk a
// long history again.
class RecycleOriginIndex {
public:
    // `moves` must differ from the last call's whenever the records indexed
    // have moved (records dropped, a list loaded): the index is then made
    // afresh.
    std::optional<std::string_view> find(std::span<const ActionRecord> history, uint64_t moves,
                                         std::string_view binPath);

    // Indexes what the next question would, until `giveUp` says stop; what
    // it indexed stays, and the next question goes on from there.
    void extend(std::span<const ActionRecord> history, uint64_t moves, const std::function<bool()>& giveUp = {});

private:
    std::unordered_map<std::string_view, size_t, IgnoreCaseHash, IgnoreCaseEqual> byBinPath_;
    size_t covered_ = 0;
    std::optional<uint64_t> moves_;
};

// The answer for one history alone, indexed on its first question.
// `history` must outlive it.
RecycledFromHistory recycledFrom(std::span<const ActionRecord> history);
