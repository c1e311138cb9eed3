#include "recorder/program_choice.h"

#include <algorithm>
#include <vector>

#include "browse/paths.h"
#include "settings/settings_lists.h"

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
        "retrace-recorder.exe",
    };
    std::string_view name = fileNameOf(imagePath);
    return std::any_of(std::begin(system), std::end(system),
                       [&](const char* known) { return equalsIgnoreCase(name, known); });
}

std::optional<ProcessFacts> soleNewProcess(std::span<const ProcessFacts> processes, uint64_t quietSince,
                                           uint32_t ownId) {
    std::vector<const ProcessFacts*> fresh;
    for (const ProcessFacts& process : processes)
        if (process.startTime > quietSince && process.processId != ownId && !process.imagePath.empty() &&
            !isSystemProgram(process.imagePath))
            fresh.push_back(&process);
    std::vector<const ProcessFacts*> workers;
    for (const ProcessFacts* candidate : fresh)
        if (std::none_of(fresh.begin(), fresh.end(),
                         [&](const ProcessFacts* other) { return other->parentId == candidate->processId; }))
            workers.push_back(candidate);
    if (workers.size() != 1) return std::nullopt;
    return *workers.front();
}
