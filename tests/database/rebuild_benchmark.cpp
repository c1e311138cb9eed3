// The rebuild's portable work over histories of 10,000 to 1,000,000 records:
// merging the reports, deriving the flags and building the four lists.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>

#include "database/derive_flags.h"
#include "database/derived_lists.h"
#include "database/dos_time.h"
#include "database/merge_reports.h"

namespace {

struct Reports {
    std::vector<FileReportEntry> files;
    std::vector<RegistryReportEntry> registry;
};

const DerivedFlagInputs inputs{{"DOC", "TXT", "XLS", "", "HTM", "JPG", "ZIP", "WAV"}, "IEXPLORE|NETSCAPE"};

// A working history: runs of thirty programs, Explorer operations on many
// files, Control Panel sessions, a boot every few thousand records, a change
// every few seconds.
Reports makeReports(size_t count) {
    static const char* names[] = {"notepad", "winword", "excel",   "iexplore", "netscape", "mspaint", "wordpad",
                                  "regedit", "setup",   "install", "acrord32", "winzip",   "outlook", "sndrec32",
                                  "calc",    "pbrush",  "write",   "msaccess", "powerpnt", "frontpg", "photoshp",
                                  "eudora",  "ftp",     "telnet",  "mplayer",  "cdplayer", "dialer",  "winfile",
                                  "taskman", "sysedit"};
    static const char* extensions[] = {"doc", "txt", "ini", "dll", "tmp", "xls", "htm", "jpg", "zip", "dat"};
    std::mt19937 random(42);
    auto below = [&](int n) { return int(random() % uint32_t(n)); };
    Reports reports;
    uint32_t processId = 100;
    int32_t seconds = 8 * 3600;
    uint16_t date = encodeDosDate(1998, 3, 1);
    auto stamp = [&](auto& entry) {
        seconds += 2 * below(4);
        if (seconds >= 86400) seconds = 0, ++date;
        entry.date = date;
        entry.time = encodeDosTime(seconds / 3600, seconds / 60 % 60, seconds % 60);
    };
    while (reports.files.size() + reports.registry.size() < count) {
        if (below(400) == 0) {
            FileReportEntry boot;
            boot.kind = kindBootMarker;
            std::strcpy(boot.markerText, "BOOT0001");
            stamp(boot);
            reports.files.push_back(boot);
            processId = 100;  // ids come round again after a boot
            continue;
        }
        bool explorer = below(4) == 0;
        const char* name = explorer ? "explorer" : below(10) == 0 ? "CPL" : names[below(30)];
        std::string programPath = std::string("c:\\windows\\") + name + (std::strcmp(name, "CPL") ? ".exe" : ".cpl");
        std::string folder = "c:\\my documents\\project " + std::to_string(below(50));
        int32_t kind = explorer ? std::array{kindDelete, kindRecycle, kindCopy, kindMove}[below(4)] : 0;
        ++processId;
        for (int n = 1 + below(explorer ? 20 : 40); n > 0; --n) {
            if (!explorer && below(3) == 0) {
                RegistryReportEntry entry;
                std::strcpy(entry.programName, name);
                entry.programPath = programPath;
                entry.processId = processId;
                entry.kind = 10 + below(5);
                entry.valueType = 4;
                entry.oldData = std::string("\1\0\0\0", 4);
                entry.newData = std::string("\2\0\0\0", 4);
                entry.registryPath = "hkcu\\software\\vendor\\" + std::string(name) + "\\settings\\value" +
                                     std::to_string(below(20));
                stamp(entry);
                reports.registry.push_back(entry);
                continue;
            }
            FileReportEntry entry;
            std::strcpy(entry.programName, name);
            entry.programPath = programPath;
            entry.processId = processId;
            entry.kind = explorer ? kind : std::array{kindCreate, kindModify, kindModify, kindDelete}[below(4)];
            entry.path = folder + "\\file " + std::to_string(below(1000)) + "." + extensions[below(10)];
            if (entry.kind == kindMove) entry.otherPath = "c:\\archive\\file.doc";
            if (entry.kind == kindDelete || entry.kind == kindModify) entry.otherPath = "c:\\retrace\\undo bin\\1.sav";
            entry.size = uint32_t(below(100000));
            stamp(entry);
            reports.files.push_back(entry);
        }
    }
    return reports;
}

const Reports& reportsOf(size_t count) {
    static std::map<size_t, Reports> made;
    auto found = made.find(count);
    if (found == made.end()) found = made.emplace(count, makeReports(count)).first;
    return found->second;
}

std::vector<ActionRecord> mergedHistory(size_t count) {
    std::vector<ActionRecord> records;
    mergeReports(reportsOf(count).files, reportsOf(count).registry, records);
    deriveFlags(records, inputs);
    return records;
}

void countRecords(benchmark::State& state) { state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0)); }

// The reports are copied and the records freed outside the timing: the
// rebuild gets its reports from the readers and keeps its records.
void Merge(benchmark::State& state) {
    const Reports& reports = reportsOf(size_t(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Reports copy = reports;
        std::vector<ActionRecord> records;
        state.ResumeTiming();
        mergeReports(std::move(copy.files), std::move(copy.registry), records);
        benchmark::DoNotOptimize(records.data());
        state.PauseTiming();
        records = {};
        state.ResumeTiming();
    }
    countRecords(state);
}

void DeriveFlags(benchmark::State& state) {
    std::vector<ActionRecord> records = mergedHistory(size_t(state.range(0)));
    for (auto _ : state) {
        deriveFlags(records, inputs);
        benchmark::ClobberMemory();
    }
    countRecords(state);
}

void BuildDerivedLists(benchmark::State& state) {
    std::vector<ActionRecord> records = mergedHistory(size_t(state.range(0)));
    for (auto _ : state) {
        buildDerivedLists(records);
        benchmark::ClobberMemory();
    }
    state.counters["programs"] = double(programList.size());
    state.counters["groups"] = double(fileActionList.size());
    countRecords(state);
}

// The three together, as the rebuild runs them on a history that arrives in
// one pair of reports.
void Rebuild(benchmark::State& state) {
    const Reports& reports = reportsOf(size_t(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Reports copy = reports;
        std::vector<ActionRecord> records;
        state.ResumeTiming();
        mergeReports(std::move(copy.files), std::move(copy.registry), records);
        deriveFlags(records, inputs);
        buildDerivedLists(records);
        state.PauseTiming();
        records = {};
        freeDerivedLists();
        state.ResumeTiming();
    }
    countRecords(state);
}

}  // namespace

// Other programs share the machine; the fastest of a few runs is the figure
// least disturbed by them.
void sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
    benchmark->Repetitions(5)->ReportAggregatesOnly(true)->ComputeStatistics("min", [](const std::vector<double>& v) {
        return *std::ranges::min_element(v);
    });
}

BENCHMARK(Merge)->Apply(sizes);
BENCHMARK(DeriveFlags)->Apply(sizes);
BENCHMARK(BuildDerivedLists)->Apply(sizes);
BENCHMARK(Rebuild)->Apply(sizes);

BENCHMARK_MAIN();
