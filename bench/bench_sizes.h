#pragma once
// The sizes the benchmarks run at, and the one fixture of the size a run asks
// for (only one size is kept open at a time, so the largest does not share
// memory with the others).

#include <benchmark/benchmark.h>

#include <memory>

namespace bench_sizes {

// 10,000, 100,000 and 1,000,000, as the benchmark's argument `name`.
inline void ListingSizes(benchmark::internal::Benchmark* b, const char* name = "listings") {
    b->ArgName(name);
    for (long size : {10000L, 100000L, 1000000L}) b->Arg(size);
}

// The Fixture made with the size of the run's first argument; made again
// when the size changes.
template <class Fixture>
Fixture& FixtureOfSize(const benchmark::State& state) {
    static std::unique_ptr<Fixture> fixture;
    static long made = -1;
    const long size = state.range(0);
    if (!fixture || made != size) {
        fixture.reset();
        fixture = std::make_unique<Fixture>(static_cast<int>(size));
        made = size;
    }
    return *fixture;
}

}  // namespace bench_sizes
