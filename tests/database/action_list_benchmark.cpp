// Parsing and serialising whole action lists of 10k, 100k and 1M records,
// about 150 bytes each, as a long history of file and registry changes.

#include <benchmark/benchmark.h>

#include <cstring>

#include "database/action_list.h"

namespace {

std::vector<ActionRecord> history(size_t count) {
    std::vector<ActionRecord> records(count);
    for (size_t i = 0; i < count; ++i) {
        ActionRecord& record = records[i];
        std::strcpy(record.programName, i % 3 ? "winword" : "explorer");
        record.programPath = "c:\\program files\\office\\winword.exe";
        record.processId = int32_t(i / 50);
        record.date = uint16_t(0x5800 + i % 300);
        record.time = uint16_t(i);
        if (i % 4 == 3) {
            record.source = sourceRegistryReport;
            record.kind = 10;
            record.dataA = std::string("\x01\0\0\0", 4);
            record.dataB = std::string("\x02\0\0\0", 4);
            record.sizeA = record.sizeB = 4;
            record.dataC = "hkcu\\software\\office\\options\\recent " + std::to_string(i % 10);
        } else {
            record.source = sourceFileReport;
            record.kind = i % 2 ? kindModify : kindCreate;
            record.dataA = "c:\\my documents\\reports\\quarter " + std::to_string(i) + ".doc";
            if (record.kind == kindModify) record.dataC = "c:\\retrace\\undo bin\\" + std::to_string(i) + ".sav";
            record.sizeA = int32_t(i * 37);
        }
    }
    return records;
}

void reportRates(benchmark::State& state, size_t bytes) {
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
    state.SetBytesProcessed(int64_t(state.iterations() * bytes));
    state.counters["MB"] = double(bytes) / 1e6;
}

void parseList(benchmark::State& state) {
    const std::string bytes = serializeActionList(history(size_t(state.range(0))));
    size_t memory = 0;
    for (auto _ : state) {
        const size_t textBefore = recordTextBytesStored();
        ParsedActionList parsed = parseActionList(bytes);
        // What the loaded list holds in memory: its records and their texts.
        memory = parsed.records.size() * sizeof(ActionRecord) + recordTextBytesStored() - textBefore;
        benchmark::DoNotOptimize(parsed);
    }
    reportRates(state, bytes.size());
    state.counters["memoryMB"] = double(memory) / 1e6;
}

void serializeList(benchmark::State& state) {
    const std::vector<ActionRecord> records = history(size_t(state.range(0)));
    size_t size = 0;
    for (auto _ : state) {
        std::string bytes = serializeActionList(records);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    reportRates(state, size);
}

}  // namespace

BENCHMARK(parseList)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(serializeList)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
