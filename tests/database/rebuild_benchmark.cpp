// The rebuild's portable work over histories of 10,000 to 1,000,000 records:
// merging the reports, deriving the flags, deciding the Undo Bin's sweep and
// building the four lists.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>

#include "base/dos_time.h"
#include "database/derive_flags.h"
#include "database/derived_lists.h"
#include "database/merge_reports.h"
#include "database/undo_bin.h"
#include "tests/database/working_history.h"

namespace {

const DerivedFlagInputs inputs{{"DOC", "TXT", "XLS", "", "HTM", "JPG", "ZIP", "WAV"}, "IEXPLORE|NETSCAPE"};

const char* const binFolder = "C:\\Retrace\\Undo Bin";

// A history and the Undo Bin beside it, made once per size.
struct Made {
    WorkingReports reports;
    UndoBinFiles bin;
};

const Made& madeFor(size_t count) {
    static std::map<size_t, Made> made;
    auto found = made.find(count);
    if (found == made.end()) {
        WorkingHistory history(binFolder);
        WorkingReports reports = history.next(count);
        UndoBinFiles bin = undoBinFiles(history, count / 5, 1000);
        found = made.emplace(count, Made{std::move(reports), std::move(bin)}).first;
    }
    return found->second;
}

const WorkingReports& reportsOf(size_t count) { return madeFor(count).reports; }

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
    const WorkingReports& reports = reportsOf(size_t(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        WorkingReports copy = reports;
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

// The sweep's decision over a bin of one file for every five records, named
// as the monitor names them, in upper case where the records hold lower
// case; the copies of a lost report of 1,000 entries are swept.
void SweepDecision(benchmark::State& state) {
    std::vector<ActionRecord> records = mergedHistory(size_t(state.range(0)));
    const UndoBinFiles& bin = madeFor(size_t(state.range(0))).bin;
    std::vector<std::string> names = bin.named;
    names.insert(names.end(), bin.orphans.begin(), bin.orphans.end());
    names.push_back("actionlist.000");
    size_t swept = 0;
    for (auto _ : state) {
        std::vector<size_t> sweep = filesToSweep(binFolder, names, records);
        swept = sweep.size();
        benchmark::DoNotOptimize(sweep.data());
    }
    state.counters["files"] = double(names.size());
    state.counters["swept"] = double(swept);
    countRecords(state);
}

// The three together, as the rebuild runs them on a history that arrives in
// one pair of reports.
void Rebuild(benchmark::State& state) {
    const WorkingReports& reports = reportsOf(size_t(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        WorkingReports copy = reports;
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
BENCHMARK(SweepDecision)->Apply(sizes);
BENCHMARK(Rebuild)->Apply(sizes);

BENCHMARK_MAIN();
