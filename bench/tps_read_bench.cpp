// How fast the TopSpeed reader reads a Main SongBase track file of 300,000
// tracks (with its five keys' index records) written by the test fixture
// writer: the whole file parsed and every field of every row decoded, as a
// conversion does. Prints records per second.
#include "platform/data/tps/tps_file.h"
#include "tests/platform/data/tps/tps_fixtures.h"
#include "tools/songbase_gen/generator/songbase_generator.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

const std::string& MainTpsPath() {
    static const std::string path = [] {
        songbase_gen::Options o;
        o.tracks = songbase_gen::kBenchmarkTracks;
        songbase_gen::MemorySongBase base;
        base.tracks.reserve(static_cast<std::size_t>(o.tracks));
        songbase_gen::Generate(o, base);
        tps_fixture::TableSpec t = tps_fixture::TrackTable(1, "UNNAMED");
        t.rows.reserve(base.tracks.size());
        std::uint32_t number = 0;
        for (const auto& k : base.tracks)
            t.rows.emplace_back(++number, tps_fixture::TrackRow(k.Title.View(), k.Artist.View(), k.DISKID.View(),
                                                                k.DiskTrackNo, k.MAKEID, k.UnqDiskID.View()));
        const std::string file = (std::filesystem::temp_directory_path() / "tps_read_bench_MAIN.TPS").string();
        std::ofstream(file, std::ios::binary) << tps_fixture::Write({t});
        return file;
    }();
    return path;
}

void ReadMainTps(benchmark::State& state) {
    const std::string& path = MainTpsPath();
    std::size_t rows = 0;
    for (auto _ : state) {
        const fw::tps::TpsFile file = fw::tps::TpsFile::Read(path);
        const fw::tps::Table& t = file.Tables().front();
        std::int64_t sum = 0;
        for (std::size_t r = 0; r < t.RowCount(); ++r)
            for (std::size_t f = 0; f < t.definition.fields.size(); ++f) {
                const fw::tps::Value v = t.Get(r, f);
                sum += v.integer + static_cast<std::int64_t>(v.text.size());
            }
        benchmark::DoNotOptimize(sum);
        rows = t.RowCount();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * rows));
    state.counters["records"] = static_cast<double>(rows);
    state.counters["records_per_second"] =
        benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK(ReadMainTps)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
