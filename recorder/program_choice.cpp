#include "recorder/program_choice.h"

#include <algorithm>
#include <vector>

#include "base/paths.h"
#include "base/text.h"

std::string moduleNameOf(std::string_view imagePath) {
    std::string_view stem = splitExtension(fileNameOf(imagePath)).stem;
    return std::string(stem.substr(0, 8));
}

Program programOf(const ProcessFacts& process) {
    return {moduleNameOf(process.imagePath), process.imagePath, process.processId};
}

bool isSystemProgram(std::string_view imagePath) {
    static const char* const system[] = {
        "services.exe", "svchost.exe",  "winedevice.exe", "plugplay.exe",   "rpcss.exe",
        "conhost.exe",  "csrss.exe",    "smss.exe",       "wininit.exe",    "winlogon.exe",
        "lsass.exe",    "dwm.exe",      "sihost.exe",     "taskhostw.exe",  "runtimebroker.exe",
        "ctfmon.exe",   "dllhost.exe",  "wmiprvse.exe",   "audiodg.exe",    "searchindexer.exe",
        "wineboot.exe", "start.exe",    "tabtip.exe",     "searchprotocolhost.exe", "searchfilterhost.exe",
        "winemenubuilder.exe", "retrace-recorder.exe", "retrace.exe",
    };
    std::string_view name = fileNameOf(imagePath);
    return std::any_of(std::begin(system), std::end(system),
                       [&](const char* known) { return equalsIgnoreCase(name, known); });
}

uint64_t changeMadeAt(uint64_t written, uint64_t seen) {
    const uint64_t most = writtenBeforeSeenMostMilliseconds * clockUnitsPerMillisecond;
    return written != 0 && written <= seen && seen - written <= most ? written : seen;
}

namespace {

using Candidates = std::vector<const ProcessLife*>;

// The one candidate left once launchers give way to what they started.
const ProcessLife* soleWorker(const Candidates& candidates) {
    const ProcessLife* worker = nullptr;
    for (const ProcessLife* candidate : candidates) {
        bool launched = std::any_of(candidates.begin(), candidates.end(), [&](const ProcessLife* other) {
            return other->process.parentId == candidate->process.processId;
        });
        if (launched) continue;
        if (worker) return nullptr;
        worker = candidate;
    }
    return worker;
}

// Whether the process is `ancestorId` or was started by it, directly or
// through processes started in turn, as a console starts a shell that
// starts a tool.
bool startedBy(std::span<const ProcessLife> lives, const ProcessFacts& process, uint32_t ancestorId) {
    const ProcessFacts* step = &process;
    for (int depth = 0; step && depth < 16; ++depth) {
        if (step->processId == ancestorId || step->parentId == ancestorId) return true;
        auto parent = std::find_if(lives.begin(), lives.end(), [&](const ProcessLife& life) {
            return life.process.processId == step->parentId && life.process.startTime <= step->startTime;
        });
        step = parent == lives.end() ? nullptr : &parent->process;
    }
    return false;
}

}  // namespace

std::optional<ProcessFacts> chooseProcess(std::span<const ProcessLife> lives, ChangeMoment moment,
                                          uint32_t foregroundId, uint32_t ownId) {
    if (moment.unseenFor > firstLookAfterChangeMostMilliseconds * clockUnitsPerMillisecond) return std::nullopt;
    const uint64_t earliest = moment.made - std::min(moment.made, noticeLagMilliseconds * clockUnitsPerMillisecond);
    const uint64_t exitLimit = moment.seen + exitAfterChangeMilliseconds * clockUnitsPerMillisecond;
    Candidates alive, endedSoon, startedInWindow;
    for (const ProcessLife& life : lives) {
        const ProcessFacts& process = life.process;
        // One whose program file was not yet known still lived: it makes the
        // choice doubtful rather than leaving the field to another.
        if (process.processId == ownId || isSystemProgram(process.imagePath)) continue;
        if (process.startTime > moment.made || (life.endTime && *life.endTime < earliest)) continue;
        alive.push_back(&life);
        if (life.endTime && *life.endTime <= exitLimit) endedSoon.push_back(&life);
        if (process.startTime > moment.quietSince) startedInWindow.push_back(&life);
    }
    auto front = std::find_if(alive.begin(), alive.end(),
                              [&](const ProcessLife* life) { return life->process.processId == foregroundId; });
    const ProcessFacts* inFront = foregroundId != 0 && front != alive.end() ? &(*front)->process : nullptr;
    for (const Candidates* rule : {&endedSoon, &startedInWindow}) {
        if (rule->empty()) continue;
        const ProcessLife* chosen = soleWorker(*rule);
        if (!chosen) return std::nullopt;
        // A program that came only just before the change is no surer a
        // writer than the one the person works in, unless that one started it.
        const ProcessFacts& process = chosen->process;
        bool newcomer = process.startTime > moment.quietSince;
        if (newcomer && inFront && !startedBy(lives, process, inFront->processId)) return std::nullopt;
        if (process.imagePath.empty()) return std::nullopt;
        return process;
    }
    if (!inFront || inFront->imagePath.empty()) return std::nullopt;
    return *inFront;
}
