// Queues at song-book sizes: sorted inserts of 300,000 entries in key order
// and in random order, searches by key on the sorted queue, and a positional
// read of every entry.

#include "platform/data/queue/queue.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>
#include <vector>

namespace {

struct TagRec {
    fw::FString<17> QUEUNQDISKID;
    fw::FString<17> DISKID;
    std::uint16_t TRACKNO = 0;
    fw::FString<40> QUEGENRE;
};

const fw::RecordDecl& TagDecl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<TagRec>("DTQ")
                                        .Field("QUEUNQDISKID", &TagRec::QUEUNQDISKID)
                                        .Field("DISKID", &TagRec::DISKID)
                                        .Field("TRACKNO", &TagRec::TRACKNO)
                                        .Field("QUEGENRE", &TagRec::QUEGENRE)
                                        .Build();
    return d;
}

constexpr int kEntries = 300000;

void Fill(TagRec& r, int i) {
    char id[24];
    std::snprintf(id, sizeof id, "SC%07d", i / 20);
    r.QUEUNQDISKID = id;
    r.DISKID = id;
    r.TRACKNO = static_cast<std::uint16_t>(i % 20 + 1);
    r.QUEGENRE = "Country";
}

std::vector<int> Order(bool shuffled) {
    std::vector<int> v(kEntries);
    std::iota(v.begin(), v.end(), 0);
    if (shuffled) std::shuffle(v.begin(), v.end(), std::mt19937(7));
    return v;
}

void SortedAdd(benchmark::State& state, bool shuffled) {
    const auto order = Order(shuffled);
    for (auto _ : state) {
        fw::QueueOf<TagRec> q(TagDecl());
        for (int i : order) {
            Fill(q.rec, i);
            fw::ADD(q, "+QUEUNQDISKID,+TRACKNO");
        }
        benchmark::DoNotOptimize(fw::RECORDS(q));
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}
void BM_SortedAdd300kInOrder(benchmark::State& s) { SortedAdd(s, false); }
void BM_SortedAdd300kRandomOrder(benchmark::State& s) { SortedAdd(s, true); }
BENCHMARK(BM_SortedAdd300kInOrder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortedAdd300kRandomOrder)->Unit(benchmark::kMillisecond);

fw::QueueOf<TagRec>& SortedQueue() {
    static fw::QueueOf<TagRec> q(TagDecl());
    if (fw::RECORDS(q) == 0)
        for (int i = 0; i < kEntries; ++i) {
            Fill(q.rec, i);
            fw::ADD(q, "+QUEUNQDISKID,+TRACKNO");
        }
    return q;
}

void BM_GetByKeyOnSorted300k(benchmark::State& state) {
    auto& q = SortedQueue();
    std::mt19937 rng(3);
    for (auto _ : state) {
        Fill(q.rec, static_cast<int>(rng() % kEntries));
        fw::GET(q, "QUEUNQDISKID,TRACKNO");
        benchmark::DoNotOptimize(fw::POINTER(q));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetByKeyOnSorted300k);

// A field the queue is not sorted by: a linear search, as the design expects.
void BM_GetByOtherFieldLinear300k(benchmark::State& state) {
    auto& q = SortedQueue();
    std::mt19937 rng(5);
    for (auto _ : state) {
        Fill(q.rec, static_cast<int>(rng() % kEntries));
        fw::GET(q, "DISKID,TRACKNO,QUEGENRE");  // not the queue's order
        benchmark::DoNotOptimize(fw::POINTER(q));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetByOtherFieldLinear300k)->Unit(benchmark::kMicrosecond);

void BM_GetEveryPosition300k(benchmark::State& state) {
    auto& q = SortedQueue();
    for (auto _ : state) {
        for (long i = 1; i <= kEntries; ++i) fw::GET(q, i);
        benchmark::DoNotOptimize(q.rec.TRACKNO);
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_GetEveryPosition300k)->Unit(benchmark::kMillisecond);

void BM_Sort300k(benchmark::State& state) {
    auto order = Order(true);
    for (auto _ : state) {
        state.PauseTiming();
        fw::QueueOf<TagRec> q(TagDecl());
        for (int i : order) {
            Fill(q.rec, i);
            fw::ADD(q);
        }
        state.ResumeTiming();
        fw::SORT(q, "+QUEUNQDISKID,-TRACKNO");
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_Sort300k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
