// How long the generator takes to make the demo and the benchmark song
// bases in memory.
#include "tools/songbase_gen/generator/songbase_generator.h"

#include <benchmark/benchmark.h>

namespace {

void GenerateSongBase(benchmark::State& state) {
    songbase_gen::Options o;
    o.tracks = static_cast<int>(state.range(0));
    for (auto _ : state) {
        songbase_gen::MemorySongBase base;
        base.tracks.reserve(static_cast<std::size_t>(o.tracks));
        benchmark::DoNotOptimize(songbase_gen::Generate(o, base));
    }
    state.SetItemsProcessed(state.iterations() * o.tracks);
    state.counters["tracks"] = static_cast<double>(o.tracks);
}
BENCHMARK(GenerateSongBase)->Arg(songbase_gen::kDemoTracks)->Arg(songbase_gen::kBenchmarkTracks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
