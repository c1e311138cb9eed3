#pragma once
// The newest program and applet entries the tray menu shows, found from the
// end of a history that mostly grows at its end, as actionList does between
// tray clicks. Each call looks at the records appended since the last call
// and at no more of the older ones than it needs, so a history with fewer
// programs or applets than the menu shows is walked whole once, not at
// every click.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "database/action_record.h"
#include "database/derived_lists.h"

class NewestEntriesFinder {
public:
    // As newestProgramEntries and newestAppletPaths (derived_lists.h).
    // `moves` must differ from the last call's whenever records the last
    // call was given have moved (records dropped, a list loaded): the call
    // then looks afresh. A record that was undone since needs no notice.
    std::vector<ProgramEntry> programs(std::span<const ActionRecord> records, size_t count, uint64_t moves);
    std::vector<std::string> appletPaths(std::span<const ActionRecord> records, size_t count, uint64_t moves);

private:
    // The distinct keys (names or paths, case ignored) of the live records
    // from `lowest` to `covered`, newest first, each spelled as its newest
    // record, with that record's index.
    class Scan {
    public:
        using KeyOf = std::function<std::optional<std::string_view>(const ActionRecord&)>;
        std::vector<std::string> newest(std::span<const ActionRecord> records, size_t count, uint64_t moves,
                                        const KeyOf& keyOf);

    private:
        struct Known {
            std::string key;
            size_t newest;
        };
        bool stillHolds(std::span<const ActionRecord> records, uint64_t moves, const KeyOf& keyOf) const;
        void moveToFront(std::string_view key, size_t index);

        std::vector<Known> known_;
        size_t covered_ = 0;
        size_t lowest_ = 0;
        std::optional<uint64_t> moves_;  // nothing before the first call
    };
    Scan programs_, applets_;
};
