// How fast the TopSpeed reader reads a Main SongBase track file of 300,000
// tracks (with its five keys' index records) written by the test fixture
// writer: the whole file parsed and every field of every row decoded, as a
// conversion does. Prints records per second.
#include "platform/data/tps/tps_file.h"
#include "bench/songbase_tps_fixture.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

const std::string& MainTpsPath() {
    static const std::string path = [] {
        const std::string file = (std::filesystem::temp_directory_path() / "tps_read_bench_MAIN.TPS").string();
        std::ofstream(file, std::ios::binary) << bench_fixture::BenchmarkMainTps();
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
