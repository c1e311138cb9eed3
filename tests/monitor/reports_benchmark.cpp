// Reading both reports and processing the file report, at the sizes a long
// session without a rebuild could leave: entries/s and MB/s.

#include <benchmark/benchmark.h>

#include <cstring>

#include "database/merge_reports.h"
#include "monitor/file_report.h"
#include "monitor/registry_report.h"

namespace {

std::string folder(size_t i) { return "c:\\documents\\project " + std::to_string(i % 97) + "\\"; }

// A working day's mix: edits, creates, Explorer copies and moves, renames,
// recycles and the emptying of the Recycle Bin.
std::vector<FileReportEntry> fileEntries(size_t count) {
    std::vector<FileReportEntry> entries;
    entries.reserve(count);
    auto add = [&](int32_t kind, std::string path, const char* program, std::string otherPath, uint32_t size) {
        FileReportEntry e;
        e.kind = kind;
        e.path = std::move(path);
        std::strncpy(e.programName, program, 8);
        e.programPath = std::string("c:\\program files\\") + program + "\\" + program + ".exe";
        e.otherPath = std::move(otherPath);
        e.size = size;
        e.processId = uint32_t(1000 + entries.size() / 50);
        entries.push_back(std::move(e));
    };
    for (size_t i = 0; entries.size() < count; ++i) {
        std::string name = "report " + std::to_string(i) + ".doc";
        switch (i % 8) {
            case 0:
                add(kindCreate, folder(i) + name, "winword", "", 0);
                break;
            case 1:
                add(kindModify, folder(i) + name, "winword", "c:\\undo bin\\m" + std::to_string(i), 4096);
                break;
            case 2:
                add(kindCreate, folder(i + 1) + name, "explorer", "", 0);
                break;
            case 3:
                add(kindCreate, folder(i + 1) + name, "explorer", "", 0);
                add(kindDelete, folder(i) + name, "explorer", "c:\\undo bin\\d" + std::to_string(i), 2048);
                break;
            case 4:
                add(kindRename, folder(i) + name, "winword", folder(i + 2) + name, 100);
                break;
            case 5:
                add(kindRecycle, folder(i) + name, "explorer", "c:\\recycled\\dc" + std::to_string(i) + ".doc", 300);
                break;
            case 6:
                add(kindDelete, "c:\\recycled\\dc" + std::to_string(i - 1) + ".doc", "explorer", "", 300);
                break;
            default:
                add(kindDelete, "c:\\recycled\\dc" + std::to_string(i + 1000000) + ".doc", "explorer", "", 1);
                break;
        }
    }
    entries.resize(count);
    return entries;
}

std::string fileReportBytes(size_t count) {
    std::string bytes;
    for (auto& e : fileEntries(count)) bytes += serializeFileReportEntry(e);
    return bytes;
}

std::string registryReportBytes(size_t count) {
    std::string bytes;
    for (size_t i = 0; i < count; ++i) {
        RegistryReportEntry e;
        std::strncpy(e.programName, "setup", 8);
        e.programPath = "c:\\program files\\setup\\setup.exe";
        e.kind = 10 + int32_t(i % 5);
        e.valueType = 4;
        e.oldData = std::string("\x01\x00\x00\x00", 4);
        e.newData = std::string(i % 3 ? 4 : 64, 'v');
        e.registryPath = "HKLM\\Software\\Vendor\\Product\\Settings " + std::to_string(i % 31) + "\\Value";
        bytes += serializeRegistryReportEntry(e);
    }
    return bytes;
}

// Earlier rebuilds' recycles, one of which each unmatched Delete above finds.
std::vector<ActionRecord> history(size_t count) {
    std::vector<ActionRecord> records(count);
    for (size_t i = 0; i < count; ++i) {
        records[i].kind = i % 8 == 7 ? kindRecycle : kindModify;
        records[i].dataA = folder(i) + "older " + std::to_string(i) + ".doc";
        records[i].dataC = "C:\\Recycled\\DC" + std::to_string(i + 1000000) + ".DOC";
    }
    return records;
}

void parseFile(benchmark::State& state) {
    const std::string bytes = fileReportBytes(size_t(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(parseFileReport(bytes));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * int64_t(bytes.size()));
}

void parseRegistry(benchmark::State& state) {
    const std::string bytes = registryReportBytes(size_t(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(parseRegistryReport(bytes));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * int64_t(bytes.size()));
}

void processFile(benchmark::State& state) {
    const std::string bytes = fileReportBytes(size_t(state.range(0)));
    const std::vector<FileReportEntry> read = parseFileReport(bytes);
    const std::vector<ActionRecord> earlier = history(size_t(state.range(0)));
    auto diskSize = [](const std::string& path) { return uint32_t(path.size()); };
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<FileReportEntry> entries = read;
        state.ResumeTiming();
        postProcessFileReport(entries, recycledFrom(earlier), diskSize);
        benchmark::DoNotOptimize(entries.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * int64_t(bytes.size()));
}

}  // namespace

BENCHMARK(parseFile)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(parseRegistry)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(processFile)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
