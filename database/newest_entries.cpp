#include "database/newest_entries.h"

#include <algorithm>

#include "base/text.h"

// Records only ever turn undone in place, never live again (a redo appends
// a record anew), so what was found holds while each key's newest record is
// still live and records stayed where they were.
bool NewestEntriesFinder::Scan::stillHolds(std::span<const ActionRecord> records, uint64_t moves,
                                           const KeyOf& keyOf) const {
    if (!moves_ || *moves_ != moves || records.size() < covered_) return false;
    return std::ranges::all_of(known_, [&](const Known& known) {
        std::optional<std::string_view> key = keyOf(records[known.newest]);
        return key && *key == known.key;
    });
}

void NewestEntriesFinder::Scan::moveToFront(std::string_view key, size_t index) {
    auto same = std::ranges::find_if(known_, [&](const Known& known) { return equalsIgnoreCase(known.key, key); });
    if (same == known_.end()) {
        known_.insert(known_.begin(), {std::string(key), index});
    } else {
        std::rotate(known_.begin(), same, same + 1);
        known_.front() = {std::string(key), index};  // spelled as its newest record
    }
}

std::vector<std::string> NewestEntriesFinder::Scan::newest(std::span<const ActionRecord> records, size_t count,
                                                           uint64_t moves, const KeyOf& keyOf) {
    if (!stillHolds(records, moves, keyOf)) {
        known_.clear();
        covered_ = lowest_ = records.size();
        moves_ = moves;
    }
    // Records appended since: each one's key is now the newest.
    for (size_t j = covered_; j < records.size(); ++j)
        if (std::optional<std::string_view> key = keyOf(records[j])) moveToFront(*key, j);
    covered_ = records.size();
    // Older ones only while too few keys are known: a key met there for the
    // first time is older than every known one.
    while (known_.size() < count && lowest_ > 0) {
        std::optional<std::string_view> key = keyOf(records[--lowest_]);
        if (key && std::ranges::none_of(known_, [&](const Known& known) { return equalsIgnoreCase(known.key, *key); }))
            known_.push_back({std::string(*key), lowest_});
    }
    std::vector<std::string> newest;
    for (size_t k = std::min(count, known_.size()); k-- > 0;) newest.push_back(known_[k].key);
    return newest;
}

std::vector<ProgramEntry> NewestEntriesFinder::programs(std::span<const ActionRecord> records, size_t count,
                                                        uint64_t moves) {
    std::vector<ProgramEntry> entries;
    for (const std::string& name : programs_.newest(records, count, moves, programEntryNameOf))
        setFieldText(entries.emplace_back().programName, name);
    return entries;
}

std::vector<std::string> NewestEntriesFinder::appletPaths(std::span<const ActionRecord> records, size_t count,
                                                          uint64_t moves) {
    return applets_.newest(records, count, moves, appletEntryPathOf);
}

std::vector<ProgramEntry> newestProgramEntries(std::span<const ActionRecord> records, size_t count) {
    return NewestEntriesFinder{}.programs(records, count, 0);
}

std::vector<std::string> newestAppletPaths(std::span<const ActionRecord> records, size_t count) {
    return NewestEntriesFinder{}.appletPaths(records, count, 0);
}
