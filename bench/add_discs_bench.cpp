// Adding a whole brand to an empty book: the add-discs window on a brand of
// about 2,000 discs (10 to 20 tracks, 30,000 tracks, made by the song-base
// generator), "tag &All" with the manufacturers' IDs, then "Add Tagged
// Disc(s) to SongBook" and the worker to its last disc, all through the
// test driver on the offscreen platform. The baseline, measured in the same
// run, is plain SQLite writing the same disc and listing rows into an empty
// book of the same layout, one transaction per disc, with the same journal
// and sync settings.
//   tracks_per_s    tracks added per second, tagging included
//   vs_raw_sqlite   our time / the baseline's
//   vs_raw_batched  our time / plain SQLite batching the discs as the worker does
//   tag_all_s, add_s  the two steps' seconds
#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/data/sqlite_connection.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/testing/driver.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"
#include "songbase/add_mfr_discs.h"
#include "songbase/custom_disc_ids.h"
#include "tools/songbase_gen/generator/data_file_sink.h"
#include "tools/songbase_gen/generator/songbase_generator.h"
#include "window_bench_support.h"


#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr int kTracks = 30000;
constexpr const char* kWindow = "P1$ADDMFRDISCS";
constexpr const char* kWorker = "P1$ADDDISCTRACKS";

// The benchmark song base: every disc and track in the first brand.
struct SongBase {
    std::string dir;
    songbase_gen::MemorySongBase base;

    SongBase() {
        char tmpl[] = "/tmp/cv_add_discs_bench_XXXXXX";
        dir = mkdtemp(tmpl);
        shell::InitialiseSharedGlobals();
        shell::SetSongBaseFileNames(dir);
        songbase_gen::Options o;
        o.tracks = kTracks;
        o.minTracksPerDisc = 10;
        o.maxTracksPerDisc = 20;
        songbase_gen::Generate(o, base);
        const std::int32_t brand = base.brands.front().MakeID;
        for (auto& d : base.discs) d.MakeID = brand;
        for (auto& t : base.tracks) t.MAKEID = brand;
        songbase_gen::DataFileSongBase files(dir);
        base.CopyTo(files);
        const std::string error = files.Finish();
        Check(error.empty(), error.c_str());
    }

    // An empty book of the current layout named `name` in the folder.
    void EmptyBook(const std::string& name) const {
        shell::SongBookName = dir + "/" + name + ".2bk";
        shell::SBDiscsName = dir + "/" + name + ".2bd";
        for (fw::File* f : {&shell::SongBook(), &shell::SBDiscs()}) {
            fw::CREATE(*f);
            Check(fw::ERRORCODE() == 0, "create the book");
        }
    }
};

SongBase* g_base = nullptr;
SongBase& Base() {
    if (!g_base) g_base = new SongBase;
    return *g_base;
}

double Seconds(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// The whole road through the window; the seconds it took, and of them
// the tagging's.
double AddTheBrand(fw::testing::Driver& d, int* added, double* tagging) {
    songbase::SKIPALTDISKID = 1;
    d.Start(songbase::AddMfrDiscs);
    Check(d.IsOpen(kWindow), "the add-discs window");
    const auto start = std::chrono::steady_clock::now();
    d.Press("?DASTAGALL", kWindow);
    const auto tagged = std::chrono::steady_clock::now();
    d.Press("?BUTTON1", kWindow);
    const auto end = std::chrono::steady_clock::now();
    *tagging = Seconds(start, tagged);
    Check(d.IsOpen(kWorker), "the worker's window");
    std::string text = d.Text("?TRACKSADDED", kWorker);  // "30,000"
    std::erase(text, ',');
    *added = std::atoi(text.c_str());
    d.Press("?B1", kWorker);
    d.Press("?BUTTON2", kWindow);
    return Seconds(start, end);
}

// Plain SQLite: the same discs and listings, one transaction per disc, or
// (batched) each disc under a save point and one commit for them all.
double RawInserts(const SongBase& base, const std::string& name, bool batched) {
    base.EmptyBook(name);
    sqlite3* db = nullptr;
    Check(sqlite3_open((base.dir + "/" + name + ".2bk").c_str(), &db) == SQLITE_OK, "raw open");
    fw::data::RegisterCollations(db);
    const std::string discs = base.dir + "/" + name + ".2bd";
    sqlite3_exec(db, ("ATTACH DATABASE '" + discs + "' AS d").c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA main.journal_mode=DELETE; PRAGMA main.synchronous=FULL;"
                     "PRAGMA d.journal_mode=DELETE; PRAGMA d.synchronous=FULL;",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* disc = nullptr;
    sqlite3_stmt* listing = nullptr;
    Check(sqlite3_prepare_v2(db, "INSERT INTO d.records(UNQDISKID, MAKETYPE, MakeID, ALTDISKID) VALUES(?,?,?,?)", -1,
                             &disc, nullptr) == SQLITE_OK,
          "raw prepare");
    Check(sqlite3_prepare_v2(db,
                             "INSERT INTO main.records(Title, Artist, UnqDiskID, DISKTRACKNO, GENRE, DateAdded, MAKEID)"
                             " VALUES(?,?,?,?,?,?,?)",
                             -1, &listing, nullptr) == SQLITE_OK,
          "raw prepare");
    const auto start = std::chrono::steady_clock::now();
    std::size_t t = 0;
    if (batched) sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    for (const shell::DiscsRec& d : base.base.discs) {
        sqlite3_exec(db, batched ? "SAVEPOINT disc" : "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        const std::string unq(d.UnqDiskID.Clip());
        const std::string code = unq.substr(0, 2);
        sqlite3_bind_text(disc, 1, unq.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(disc, 2, code.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(disc, 3, d.MakeID);
        sqlite3_bind_text(disc, 4, unq.c_str(), -1, SQLITE_TRANSIENT);
        Check(sqlite3_step(disc) == SQLITE_DONE, "raw disc");
        sqlite3_reset(disc);
        for (; t < base.base.tracks.size() && base.base.tracks[t].UnqDiskID.Clip() == unq; ++t) {
            const shell::KaraokeRec& k = base.base.tracks[t];
            const std::string title(k.Title.Clip()), artist(k.Artist.Clip());
            sqlite3_bind_text(listing, 1, title.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(listing, 2, artist.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(listing, 3, unq.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(listing, 4, k.DiskTrackNo);
            sqlite3_bind_text(listing, 5, "", -1, SQLITE_STATIC);
            sqlite3_bind_int(listing, 6, 80000);
            sqlite3_bind_text(listing, 7, code.c_str(), -1, SQLITE_TRANSIENT);
            Check(sqlite3_step(listing) == SQLITE_DONE, "raw listing");
            sqlite3_reset(listing);
        }
        Check(sqlite3_exec(db, batched ? "RELEASE disc" : "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK,
              "raw commit");
    }
    if (batched) Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK, "raw commit");
    const auto end = std::chrono::steady_clock::now();
    Check(t == base.base.tracks.size(), "raw: every track written");
    sqlite3_finalize(disc);
    sqlite3_finalize(listing);
    sqlite3_close(db);
    return std::chrono::duration<double>(end - start).count();
}

void AddBrandOf2000Discs(benchmark::State& state) {
    SongBase& base = Base();
    fw::testing::Driver d;
    double ours = 0, tagging = 0, raw = 0, rawBatched = 0;
    int runs = 0, added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string name = "Book" + std::to_string(runs);
        base.EmptyBook(name);  // the window adds to the book named now
        state.ResumeTiming();
        double tagSeconds = 0;
        const double seconds = AddTheBrand(d, &added, &tagSeconds);
        state.PauseTiming();
        ours += seconds;
        tagging += tagSeconds;
        raw += RawInserts(base, "Raw" + std::to_string(runs), false);
        rawBatched += RawInserts(base, "RawBatched" + std::to_string(runs), true);
        ++runs;
        state.ResumeTiming();
        if (added != kTracks) {
            state.SkipWithError("not every track was added");
            break;
        }
    }
    if (runs == 0) return;
    state.counters["tracks"] = added;
    state.counters["discs"] = static_cast<double>(base.base.discs.size());
    state.counters["tracks_per_s"] = added * runs / ours;
    state.counters["vs_raw_sqlite"] = ours / raw;
    state.counters["raw_tracks_per_s"] = added * runs / raw;
    // The same comparison with plain SQLite batched as the worker batches,
    // and the share of the time the tag-all took.
    state.counters["vs_raw_batched"] = ours / rawBatched;
    state.counters["tag_all_s"] = tagging / runs;
    state.counters["add_s"] = (ours - tagging) / runs;
}
BENCHMARK(AddBrandOf2000Discs)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv, [] {
        if (!g_base) return;
        std::error_code ec;
        std::filesystem::remove_all(g_base->dir, ec);
    });
}
