#include "recorder/recorder_counts.h"

std::string recorderCountsText(const RecorderCounts& c) {
    auto n = [](uint32_t count) { return std::to_string(count); };
    return "Change recorder, since it started: " + n(c.withoutSavedCopy) + " changes without an earlier version, " +
           n(c.notRecordable) + " not recordable, " + n(c.unknownProgram) + " by an unknown program, " +
           n(c.foundByRescan) + " found by " + n(c.rescans) + " rescans, " + n(c.lost) + " lost.";
}
