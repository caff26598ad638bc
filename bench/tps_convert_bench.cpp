// How fast the first OPEN of a TopSpeed Main SongBase track file of 300,000
// tracks (written by the test fixture writer) converts it into a file of
// ours: read, loaded, keys built, checked, original kept, renamed. Prints
// records per second; the goal is more than 100,000.
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary_songbase.h"
#include "bench/songbase_tps_fixture.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

const fs::path& Folder() {
    static const fs::path folder = [] {
        const fs::path p = fs::temp_directory_path() / "tps_convert_bench";
        fs::create_directories(p);
        return p;
    }();
    return folder;
}

const fs::path& FixturePath() {
    static const fs::path path = [] {
        const fs::path file = Folder() / "fixture_MAIN.TPS";
        std::ofstream(file, std::ios::binary) << bench_fixture::BenchmarkMainTps();
        return file;
    }();
    return path;
}

// The track file as the program declares it, under the given name.
std::unique_ptr<fw::File> TrackFile(const std::string& name) {
    const shell::FileEntry& desc = shell::KaraokeFile();
    fw::FileDecl d;
    d.label = desc.label;
    d.record = desc.record;
    for (const shell::KeyPlan& k : desc.keys) d.keys.push_back({k.name, k.components, k.unique, k.optional, k.caseInsensitive});
    d.create = desc.create;
    d.name = fw::FixedName(name);
    return std::make_unique<fw::File>(std::move(d));
}

void ConvertMainTps(benchmark::State& state) {
    const fs::path main = Folder() / "MAIN.TPS";
    const fs::path kept = Folder() / "MAIN.TPS.tps-original";
    auto file = TrackFile(main.string());
    long records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(main);
        fs::remove(kept);
        fs::copy_file(FixturePath(), main);
        state.ResumeTiming();
        fw::OPEN(*file, fw::ReadWrite | fw::DenyNone);
        if (fw::ERRORCODE() != 0) {
            state.SkipWithError((fw::ERROR() + " / " + fw::FILEERROR()).c_str());
            break;
        }
        state.PauseTiming();
        records = fw::RECORDS(*file);
        fw::CLOSE(*file);
        state.ResumeTiming();
    }
    fs::remove(main);
    fs::remove(kept);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * records);
    state.counters["records"] = static_cast<double>(records);
    state.counters["records_per_second"] =
        benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["file_MB"] = static_cast<double>(fs::file_size(FixturePath())) / 1e6;
}
BENCHMARK(ConvertMainTps)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
