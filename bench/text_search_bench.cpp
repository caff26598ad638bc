// The per-record cost of the search filters over title lists
// (INSTRING(UPPER(CLIP(text)), UPPER(title), 1, 1)) and of the pictures
// the lists show on every row.
#include "platform/text/fixed_string.h"
#include "platform/text/picture.h"
#include "platform/text/strings.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

std::vector<fw::FString<40>> Titles() {
    std::vector<fw::FString<40>> titles;
    const char* words[] = {"Love", "Night", "Caf\xE9", "Blue", "Rose", "Dancing", "Heart", "River"};
    for (int i = 0; i < 1000; ++i) {
        std::string t = std::string(words[i % 8]) + " " + words[(i / 8) % 8] + " " + std::to_string(i);
        titles.emplace_back(t);
    }
    return titles;
}

void BM_SearchFilter(benchmark::State& state) {
    const auto titles = Titles();
    const std::string search = fw::UPPER(fw::CLIP("rose   "));
    long hits = 0;
    for (auto _ : state) {
        for (const auto& t : titles) hits += fw::INSTRING(search, fw::UPPER(t), 1, 1) != 0;
    }
    benchmark::DoNotOptimize(hits);
    state.SetItemsProcessed(state.iterations() * static_cast<long>(titles.size()));
}
BENCHMARK(BM_SearchFilter);

void BM_FormatRowPictures(benchmark::State& state) {
    long n = 0;
    for (auto _ : state) {
        auto a = fw::FORMAT(static_cast<double>(n % 1000000), "@n6");
        auto b = fw::FORMAT(static_cast<double>(n % 100000), "@P<<<<<<PB");
        auto c = fw::FORMAT(static_cast<double>(80000 + n % 5000), "@D1");
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        benchmark::DoNotOptimize(c);
        ++n;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatRowPictures);

}  // namespace

BENCHMARK_MAIN();
