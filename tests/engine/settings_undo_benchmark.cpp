// Speed of the settings-undo core: crc32 and the INI diff, in bytes of text
// per second.

#include <benchmark/benchmark.h>

#include <string>

#include "base/crc32.h"
#include "engine/ini_diff.h"
#include "tests/engine/sample_content.h"

namespace {

// An INI text of `sections` sections of 50 entries each; every `changeEvery`-th
// entry's value carries `mark`, so two marks give two texts that differ there.
std::string iniText(int sections, int changeEvery, char mark) {
    std::string text = "; written by a benchmark\r\n";
    for (int s = 0; s < sections; ++s) {
        text += "[Section " + std::to_string(s) + "]\r\n";
        for (int e = 0; e < 50; ++e) {
            text += "Key" + std::to_string(e) + " = value of entry " + std::to_string(s * 50 + e);
            if (e % changeEvery == 0) text += mark;
            text += "\r\n";
        }
    }
    return text;
}

void crc32Of(benchmark::State& state) {
    std::string bytes = randomBytes(8 << 20);
    for (auto _ : state) benchmark::DoNotOptimize(crc32(bytes.data(), bytes.size()));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void diffOf(benchmark::State& state) {
    std::string earlier = iniText(int(state.range(0)), 10, 'a');
    std::string later = iniText(int(state.range(0)), 10, 'b');
    size_t changes = 0;
    for (auto _ : state) {
        auto list = diffIniTexts(earlier, later);
        changes = list.size();
        benchmark::DoNotOptimize(list);
    }
    state.counters["changes"] = double(changes);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(earlier.size() + later.size()));
}

}  // namespace

BENCHMARK(crc32Of)->Unit(benchmark::kMillisecond);
// A win.ini of some 20 sections, and a settings file a hundred times larger.
BENCHMARK(diffOf)->Arg(20)->Arg(2000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
