// Decoding and encoding speed of saved copies, in bytes of content per second.

#include <benchmark/benchmark.h>

#include "engine/saved_copy.h"
#include "tests/engine/sample_content.h"

namespace {

constexpr size_t kContentSize = 8 << 20;

std::string contentOf(int kind) { return kind == 0 ? textLike(kContentSize) : randomBytes(kContentSize); }

void decodeCopy(benchmark::State& state) {
    std::string content = contentOf(int(state.range(0)));
    std::string savedCopy = encodeSavedCopy(content);
    state.SetLabel(state.range(0) == 0 ? "text" : "random");
    state.counters["ratio"] = double(savedCopy.size()) / double(content.size());
    for (auto _ : state) benchmark::DoNotOptimize(decodeSavedCopy(savedCopy));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(content.size()));
}

void encodeCopy(benchmark::State& state) {
    std::string content = contentOf(int(state.range(0)));
    state.SetLabel(state.range(0) == 0 ? "text" : "random");
    for (auto _ : state) benchmark::DoNotOptimize(encodeSavedCopy(content));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(content.size()));
}

}  // namespace

BENCHMARK(decodeCopy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(encodeCopy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
