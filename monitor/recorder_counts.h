#pragma once
// What the recorder could not capture whole, counted since it started, so a
// person can see it rather than find out at an undo. The recorder keeps the
// counts under the per-user key below; the Options sheet shows them.

#include <cstdint>
#include <string>

inline constexpr const char* recorderCountsKey = "Software\\Tarnwick\\Undo\\Recorder";

struct RecorderCounts {
    uint32_t withoutSavedCopy = 0;  // Modify and Delete entries written without the earlier content
    uint32_t notRecordable = 0;     // changes the reports cannot hold: a path too long, a name outside the code page
    uint32_t unknownProgram = 0;    // entries written without a program name
    uint32_t rescans = 0;           // times a watch lost its notifications and the folder was compared again
    uint32_t foundByRescan = 0;     // entries those comparisons found: no program, no earlier content
    uint32_t lost = 0;              // changes dropped because too many waited while logging was stopped
    uint32_t restarts = 0;          // watches, registry threads or waits that failed and were started again
    uint32_t madeWhileAway = 0;     // entries found at start, made while the recorder was not running
    friend bool operator==(const RecorderCounts&, const RecorderCounts&) = default;
};

// Calls visit(name, field) for every count, in one order for load and save.
template <class Counts, class Visit>
void visitRecorderCounts(Counts& counts, Visit&& visit) {
    visit("WithoutSavedCopy", counts.withoutSavedCopy);
    visit("NotRecordable", counts.notRecordable);
    visit("UnknownProgram", counts.unknownProgram);
    visit("Rescans", counts.rescans);
    visit("FoundByRescan", counts.foundByRescan);
    visit("Lost", counts.lost);
    visit("Restarts", counts.restarts);
    visit("MadeWhileAway", counts.madeWhileAway);
}

// The text the Options sheet's Information page shows.
std::string recorderCountsText(const RecorderCounts& counts);
