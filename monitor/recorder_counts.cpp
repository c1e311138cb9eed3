#include "monitor/recorder_counts.h"

namespace {
std::string counted(uint32_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}
}  // namespace

std::string recorderCountsText(const RecorderCounts& c) {
    auto n = [](uint32_t count) { return std::to_string(count); };
    return "Change recorder since it started: " + counted(c.withoutSavedCopy, "change", "changes") +
           " without earlier version, " + n(c.unknownProgram) + " by unknown program, " + n(c.foundByRescan) +
           " found by " + counted(c.rescans, "rescan", "rescans") + ", " + n(c.madeWhileAway) +
           " made while it was away, " + n(c.notRecordable) + " not recordable, " + n(c.lost) + " lost, " +
           counted(c.restarts, "restart", "restarts") + ".";
}
