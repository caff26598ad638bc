// The data layer over the benchmark song base (300,000 tracks in MAIN.TPS
// with its five keys): a page of 50 records in key order from any position,
// a page through a view whose filter fixes the leading key component, a
// full NEXT scan, GET by key, and 100,000 ADDs in one STREAM beside a plain
// SQLite insert loop of the same rows.
#include "shell/data_dictionary_files.h"
#include "platform/data/bind.h"
#include "platform/data/file_ops.h"
#include "platform/data/schema.h"
#include "platform/data/view.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary_songbase.h"
#include "tools/songbase_gen/generator/songbase_generator.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// The dictionary's declaration of a file, at a path of the benchmark's own.
fw::FileDecl FromPlan(const shell::FileEntry& desc, const std::string& path) {
    fw::FileDecl d = shell::FileDeclOf(desc);
    d.name = fw::FixedName(path);
    return d;
}

struct SongBase {
    std::string dir;
    songbase_gen::MemorySongBase records;
    std::unique_ptr<fw::File> karaoke;
    std::unique_ptr<fw::File> discs;
    std::vector<std::string> titlePositions;  // POSITION(KTITLE) of random tracks

    SongBase() {
        char tmpl[] = "/tmp/cv_data_bench_XXXXXX";
        dir = mkdtemp(tmpl);
        songbase_gen::Options o;
        o.tracks = songbase_gen::kBenchmarkTracks;
        songbase_gen::Generate(o, records);
        karaoke = std::make_unique<fw::File>(FromPlan(shell::KaraokeFile(), dir + "/MAIN.TPS"));
        discs = std::make_unique<fw::File>(FromPlan(shell::DiscsFile(), dir + "/DISCS.TPS"));
        Fill(*karaoke, records.tracks);
        Fill(*discs, records.discs);
        std::mt19937 rng(7);
        fw::SET(*karaoke);
        const fw::Key title = karaoke->FindKey("KAR:KTITLE");
        for (int i = 0; i < 1000; ++i) {
            fw::GET(*karaoke, static_cast<long>(1 + rng() % records.tracks.size()));
            titlePositions.push_back(fw::POSITION(title));
        }
    }
    ~SongBase() {
        karaoke.reset();
        discs.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    template <class R>
    static void Fill(fw::File& f, const std::vector<R>& rows) {
        fw::CREATE(f);
        fw::OPEN(f, fw::ReadWrite | fw::DenyNone);
        fw::STREAM(f);
        for (const auto& r : rows) {
            f.Rec<R>() = r;
            fw::ADD(f);
        }
        fw::FLUSH(f);
        if (fw::ERRORCODE()) std::fprintf(stderr, "fill %s: %s\n", f.Label().c_str(), fw::ERROR().c_str());
    }
};

SongBase* g_base = nullptr;

SongBase& Base() {
    if (!g_base) {
        g_base = new SongBase;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(g_base->dir, ec);
        });
    }
    return *g_base;
}

void PageInKeyOrder(benchmark::State& state) {
    SongBase& b = Base();
    const fw::Key title = b.karaoke->FindKey("KAR:KTITLE");
    std::size_t i = 0;
    long rows = 0;
    for (auto _ : state) {
        fw::RESET(title, b.titlePositions[i++ % b.titlePositions.size()]);
        for (int n = 0; n < 50; ++n) {
            fw::NEXT(*b.karaoke);
            if (fw::ERRORCODE()) break;
            ++rows;
        }
    }
    state.counters["rows_per_page"] = static_cast<double>(rows) / static_cast<double>(state.iterations());
}
BENCHMARK(PageInKeyOrder)->Unit(benchmark::kMicrosecond);

// KARAOKE by KAR:KDISK, filtered to one disc of the middle of the file.
void FilteredViewPageOneDisc(benchmark::State& state) {
    SongBase& b = Base();
    fw::PUSHBIND();
    fw::BIND(*b.discs);
    fw::View v(*b.karaoke);
    v.SetFilter("UPPER(KAR:UnqDiskID) = UPPER(DIS:UnqDiskID)");
    fw::SET(b.karaoke->FindKey("KAR:KDISK"));
    fw::OPEN(v);
    auto& disc = b.discs->Rec<shell::DiscsRec>();
    std::size_t i = b.records.discs.size() / 2;
    long rows = 0;
    for (auto _ : state) {
        disc = b.records.discs[i++ % b.records.discs.size()];
        fw::SET(v);
        for (int n = 0; n < 50; ++n) {
            fw::NEXT(v);
            if (fw::ERRORCODE()) break;
            ++rows;
        }
    }
    state.counters["rows_per_page"] = static_cast<double>(rows) / static_cast<double>(state.iterations());
    fw::CLOSE(v);
    fw::POPBIND();
}
BENCHMARK(FilteredViewPageOneDisc)->Unit(benchmark::kMicrosecond);

// KARAOKE by KAR:KMAKE, filtered to one brand (thousands of tracks): a page of 50.
void FilteredViewPageOneBrand(benchmark::State& state) {
    SongBase& b = Base();
    fw::PUSHBIND();
    std::int32_t brand = 0;
    fw::BIND("Brand", brand);
    fw::View v(*b.karaoke);
    v.SetFilter("KAR:MAKEID = Brand");
    fw::SET(b.karaoke->FindKey("KAR:KMAKE"));
    fw::OPEN(v);
    std::size_t i = b.records.brands.size() / 2;
    long rows = 0;
    for (auto _ : state) {
        brand = b.records.brands[i++ % b.records.brands.size()].MakeID;
        fw::SET(v);
        for (int n = 0; n < 50; ++n) {
            fw::NEXT(v);
            if (fw::ERRORCODE()) break;
            ++rows;
        }
    }
    state.counters["rows_per_page"] = static_cast<double>(rows) / static_cast<double>(state.iterations());
    fw::CLOSE(v);
    fw::POPBIND();
}
BENCHMARK(FilteredViewPageOneBrand)->Unit(benchmark::kMicrosecond);

void FullScan(benchmark::State& state) {
    SongBase& b = Base();
    const bool keyOrder = state.range(0) == 1;
    long rows = 0;
    for (auto _ : state) {
        if (keyOrder) fw::SET(b.karaoke->FindKey("KAR:KDISK"));
        else fw::SET(*b.karaoke);
        for (;;) {
            fw::NEXT(*b.karaoke);
            if (fw::ERRORCODE()) break;
            ++rows;
        }
    }
    state.SetItemsProcessed(rows);
    state.SetLabel(keyOrder ? "KAR:KDISK order" : "record order");
}
BENCHMARK(FullScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void GetByKey(benchmark::State& state) {
    SongBase& b = Base();
    const fw::Key disk = b.karaoke->FindKey("KAR:KDISK");
    auto& rec = b.karaoke->Rec<shell::KaraokeRec>();
    std::mt19937 rng(3);
    long found = 0;
    for (auto _ : state) {
        const auto& t = b.records.tracks[rng() % b.records.tracks.size()];
        rec.UnqDiskID = t.UnqDiskID;
        rec.DiskTrackNo = t.DiskTrackNo;
        fw::GET(*b.karaoke, disk);
        found += fw::ERRORCODE() == 0;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(GetByKey)->Unit(benchmark::kMicrosecond);

constexpr int kAdds = 100000;

void StreamAdd(benchmark::State& state) {
    SongBase& b = Base();
    const std::string path = b.dir + "/ADD.TPS";
    fw::File f(FromPlan(shell::KaraokeFile(), path));
    for (auto _ : state) {
        state.PauseTiming();
        fw::CLOSE(f);
        fw::CREATE(f);
        fw::OPEN(f, fw::ReadWrite | fw::DenyNone);
        state.ResumeTiming();
        fw::STREAM(f);
        auto& rec = f.Rec<shell::KaraokeRec>();
        for (int i = 0; i < kAdds; ++i) {
            rec = b.records.tracks[static_cast<std::size_t>(i)];
            fw::ADD(f);
        }
        fw::FLUSH(f);
    }
    fw::CLOSE(f);
    state.SetItemsProcessed(state.iterations() * kAdds);
}
BENCHMARK(StreamAdd)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same rows into the same table and indexes, straight through SQLite.
void PlainSqliteInsert(benchmark::State& state) {
    SongBase& b = Base();
    const std::string path = b.dir + "/PLAIN.TPS";
    fw::File f(FromPlan(shell::KaraokeFile(), path));
    for (auto _ : state) {
        state.PauseTiming();
        fw::CREATE(f);
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        fw::data::RegisterCollations(db);
        sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO records(\"Title\",\"Artist\",\"DISKID\",\"DiskTrackNo\",\"MAKEID\",\"UnqDiskID\") "
                           "VALUES(?,?,?,?,?,?)",
                           -1, &s, nullptr);
        state.ResumeTiming();
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        for (int i = 0; i < kAdds; ++i) {
            const auto& t = b.records.tracks[static_cast<std::size_t>(i)];
            const auto title = t.Title.Clip(), artist = t.Artist.Clip(), diskid = t.DISKID.Clip(), unq = t.UnqDiskID.Clip();
            sqlite3_bind_text(s, 1, title.data(), static_cast<int>(title.size()), SQLITE_STATIC);
            sqlite3_bind_text(s, 2, artist.data(), static_cast<int>(artist.size()), SQLITE_STATIC);
            sqlite3_bind_text(s, 3, diskid.data(), static_cast<int>(diskid.size()), SQLITE_STATIC);
            sqlite3_bind_int(s, 4, t.DiskTrackNo);
            sqlite3_bind_int(s, 5, t.MAKEID);
            sqlite3_bind_text(s, 6, unq.data(), static_cast<int>(unq.size()), SQLITE_STATIC);
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        state.PauseTiming();
        sqlite3_finalize(s);
        sqlite3_close(db);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kAdds);
}
BENCHMARK(PlainSqliteInsert)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
