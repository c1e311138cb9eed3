// Decoding and encoding speed of saved copies, in bytes of content per
// second, and a whole restore from a saved copy on disk to a file on disk,
// with the memory it took. RETRACE_RESTORE_MB sets the restored size
// (default 1000 MB); the files go to the temporary folder.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "base/little_endian.h"
#include "monitor/saved_copy.h"
#include "monitor/saved_copy_reader.h"
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

class FileSource : public ByteSource {
public:
    explicit FileSource(std::FILE* file) : file_(file) {}
    bool read(std::span<uint8_t> into) override { return std::fread(into.data(), 1, into.size(), file_) == into.size(); }

private:
    std::FILE* file_;
};

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A saved copy of `megabytes` of text: one compressed 32 KB block written
// over and over, as every block decodes by itself.
std::filesystem::path writeLargeSavedCopy(uint64_t megabytes) {
    constexpr size_t kBlock = 32768;
    std::string oneBlock = encodeSavedCopy(textLike(kBlock, 5)).substr(4);
    uint64_t blocks = megabytes * 1000000 / kBlock;
    std::string total;
    appendLe32(total, uint32_t(blocks * kBlock));
    std::filesystem::path path = std::filesystem::temp_directory_path() / "retrace_restore_benchmark.sav";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(total.data(), 1, total.size(), file);
    for (uint64_t i = 0; i < blocks; ++i) std::fwrite(oneBlock.data(), 1, oneBlock.size(), file);
    std::fclose(file);
    return path;
}

// What a restore does: stream the copy from disk, block by block, into a new file.
void restoreFromDisk(benchmark::State& state) {
    const char* configured = std::getenv("RETRACE_RESTORE_MB");
    uint64_t megabytes = configured ? std::strtoull(configured, nullptr, 10) : 1000;
    std::filesystem::path saved = writeLargeSavedCopy(megabytes);
    std::filesystem::path restored = saved;
    restored.replace_extension(".undo");
    long residentBefore = peakResidentKilobytes();
    uint64_t restoredBytes = 0;
    for (auto _ : state) {
        std::FILE* in = std::fopen(saved.c_str(), "rb");
        std::FILE* out = std::fopen(restored.c_str(), "wb");
        FileSource source(in);
        SavedCopyReader reader(source, std::filesystem::file_size(saved));
        reader.readTotal();
        while (reader.next()) std::fwrite(reader.output().data(), 1, reader.output().size(), out);
        std::fflush(out);
        std::fclose(out);
        std::fclose(in);
        if (!reader.complete()) state.SkipWithError("the restore did not complete");
        restoredBytes = reader.total();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(restoredBytes));
    state.counters["saved copy MB"] = double(std::filesystem::file_size(saved)) / 1e6;
    state.counters["restored MB"] = double(restoredBytes) / 1e6;
    state.counters["peak RSS KB"] = double(peakResidentKilobytes());
    state.counters["peak RSS growth KB"] = double(peakResidentKilobytes() - residentBefore);
    std::filesystem::remove(saved);
    std::filesystem::remove(restored);
}

// The streaming reader alone, from memory, without a disk.
void streamDecode(benchmark::State& state) {
    std::string content = contentOf(int(state.range(0)));
    std::string savedCopy = encodeSavedCopy(content);
    state.SetLabel(state.range(0) == 0 ? "text" : "random");
    for (auto _ : state) {
        MemorySource source(savedCopy);
        SavedCopyReader reader(source, savedCopy.size());
        reader.readTotal();
        while (reader.next()) benchmark::DoNotOptimize(reader.output().data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(content.size()));
}

}  // namespace

// The restore first, so that its peak memory is not another benchmark's.
BENCHMARK(restoreFromDisk)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(streamDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(decodeCopy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(encodeCopy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
