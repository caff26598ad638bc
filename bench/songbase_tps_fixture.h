#pragma once
// The benchmark song base's tracks (300,000) as a TopSpeed MAIN.TPS image,
// written by the test fixture writer, for the reader and conversion benchmarks.

#include "tests/platform/data/tps/tps_fixtures.h"
#include "tools/songbase_gen/generator/songbase_generator.h"

#include <cstdint>
#include <string>

namespace bench_fixture {

inline std::string BenchmarkMainTps() {
    songbase_gen::Options o;
    o.tracks = songbase_gen::kBenchmarkTracks;
    songbase_gen::MemorySongBase base;
    base.tracks.reserve(static_cast<std::size_t>(o.tracks));
    songbase_gen::Generate(o, base);
    tps_fixture::TablePlan t = tps_fixture::TrackTable(1, "UNNAMED");
    t.rows.reserve(base.tracks.size());
    std::uint32_t number = 0;
    for (const auto& k : base.tracks)
        t.rows.emplace_back(++number, tps_fixture::TrackRow(k.Title.View(), k.Artist.View(), k.DISKID.View(),
                                                            k.DiskTrackNo, k.MAKEID, k.UnqDiskID.View()));
    return tps_fixture::Write({t});
}

}  // namespace bench_fixture
