// Adding a whole brand to a book: the add-discs window on a brand of about
// 2,000 discs (10 to 20 tracks, 30,000 tracks) of a song base of 300,000
// tracks (made by the song-base generator), "tag &All" with the
// manufacturers' IDs, then "Add Tagged Disc(s) to SongBook" and the worker
// to its last disc, all through the test driver on the offscreen platform.
// The argument is the number of listings the book has before (of other
// discs): an empty book, 10,000, 100,000 and 1,000,000. The song base and
// the books are made once and kept between runs (bench_fixture_cache.h, bench_book_files.h);
// each run adds to a copy. The floor, measured in the same run, is plain
// SQLite writing the same disc and listing rows (read from the song base
// beforehand) into another copy of the same book in one transaction, with
// the same journal, sync and cache settings. (A commit per disc, with its
// syncs, measures the disk rather than the program: 270 tracks a second.)
//   tracks_per_s      tracks added per second, tagging included
//   vs_raw_sqlite     our time / the floor's
//   raw_tracks_per_s  the floor's tracks per second
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

#include "bench_book_files.h"
#include "window_bench_support.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kSongBaseTracks = 300000;
constexpr int kBrandTracks = 30000;
constexpr const char* kWindow = "P1$ADDMFRDISCS";
constexpr const char* kWorker = "P1$ADDDISCTRACKS";


// The song base, its first brand given whole discs of about 30,000 tracks
// (the brand's own discs go to the second brand).
std::string SongBaseFolder() {
    static const std::string dir = bench_cache::CachedFixture(bench_books::FixtureName("add-discs-songbase", 1, kSongBaseTracks), [](const std::string& out) {
        songbase_gen::MemorySongBase base;
        songbase_gen::Options o;
        o.tracks = kSongBaseTracks;
        o.minTracksPerDisc = 10;
        o.maxTracksPerDisc = 20;
        songbase_gen::Generate(o, base);
        const std::int32_t brand = base.brands.front().MakeID;
        const std::int32_t other = base.brands.at(1).MakeID;
        std::map<std::string, int> tracksOf;
        for (const auto& t : base.tracks) ++tracksOf[std::string(t.UnqDiskID.Clip())];
        std::map<std::string, std::int32_t> brandOf;
        int inBrand = 0;
        for (auto& d : base.discs) {
            const std::string unq(d.UnqDiskID.Clip());
            if (inBrand < kBrandTracks) {
                d.MakeID = brand;
                inBrand += tracksOf[unq];
            } else if (d.MakeID == brand) {
                d.MakeID = other;
            }
            brandOf[unq] = d.MakeID;
        }
        for (auto& t : base.tracks) t.MAKEID = brandOf[std::string(t.UnqDiskID.Clip())];
        shell::SetSongBaseFileNames(out);
        songbase_gen::DataFileSongBase files(out);
        base.CopyTo(files);
        const std::string error = files.Finish();
        Check(error.empty(), error.c_str());
        std::ofstream(out + "/brand-tracks") << inBrand;
    });
    return dir;
}

int BrandTracks() {
    std::ifstream in(SongBaseFolder() + "/brand-tracks");
    int n = 0;
    in >> n;
    return n;
}

// A book of `listings` listings of other discs ("B" before the generated
// IDs), kept as Book.2bk and Book.2bd; blank for an empty book.
std::string BookFolder(int listings) {
    if (listings == 0) return {};
    return bench_cache::CachedFixture(bench_books::FixtureName("add-discs-book", 1, listings), [listings](const std::string& out) {
        songbase_gen::MemorySongBase base;
        songbase_gen::Options o;
        o.seed = 2;
        o.tracks = listings;
        o.minTracksPerDisc = 10;
        o.maxTracksPerDisc = 20;
        songbase_gen::Generate(o, base);
        bench_books::WriteBook(base, out + "/Book.2bk", out + "/Book.2bd", "B");
    });
}

// A copy of the book (or an empty book) named `name` in the run's folder.
std::pair<std::string, std::string> BookCopy(int listings, const std::string& name) {
    const std::string listingsPath = bench_books::WorkFolder() + "/" + name + ".2bk";
    const std::string discsPath = bench_books::WorkFolder() + "/" + name + ".2bd";
    const std::string from = BookFolder(listings);
    if (from.empty()) {
        shell::SongBookName = listingsPath;
        shell::SBDiscsName = discsPath;
        for (fw::File* f : {&shell::SongBook(), &shell::SBDiscs()}) {
            fw::CREATE(*f);
            Check(fw::ERRORCODE() == 0, "create the book");
        }
    } else {
        bench_books::CopyFile(from + "/Book.2bk", listingsPath);
        bench_books::CopyFile(from + "/Book.2bd", discsPath);
    }
    return {listingsPath, discsPath};
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

struct RawTrack {
    std::string unq, title, artist;
    int track;
    int brand;
};

// The brand's tracks in disc and track order, read with plain SQLite.
const std::vector<RawTrack>& BrandTracksRows() {
    static std::vector<RawTrack> rows;
    if (!rows.empty()) return rows;
    sqlite3* db = nullptr;
    Check(sqlite3_open_v2((SongBaseFolder() + "/MAIN.TPS").c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK,
          "raw open of the song base");
    fw::data::RegisterCollations(db);
    sqlite3_stmt* q = nullptr;
    Check(sqlite3_prepare_v2(db,
                             "SELECT UnqDiskID, Title, Artist, DiskTrackNo, MAKEID FROM records WHERE MAKEID ="
                             " (SELECT min(MAKEID) FROM records) ORDER BY UnqDiskID, DiskTrackNo",
                             -1, &q, nullptr) == SQLITE_OK,
          "raw read of the song base");
    auto text = [q](int i) { return std::string(reinterpret_cast<const char*>(sqlite3_column_text(q, i))); };
    while (sqlite3_step(q) == SQLITE_ROW) rows.push_back({text(0), text(1), text(2), sqlite3_column_int(q, 3), sqlite3_column_int(q, 4)});
    sqlite3_finalize(q);
    sqlite3_close(db);
    return rows;
}

// Plain SQLite: the same discs and listings into a copy of the book in one
// transaction.
double RawInserts(int listings, const std::string& name) {
    const std::vector<RawTrack>& tracks = BrandTracksRows();
    const auto [listingsPath, discsPath] = BookCopy(listings, name);
    bench_books::RawBook raw(listingsPath, discsPath, "Title, Artist, UnqDiskID, DISKTRACKNO, GENRE, DateAdded, MAKEID");
    sqlite3_stmt* disc = raw.disc;
    sqlite3_stmt* listing = raw.listing;
    const auto start = std::chrono::steady_clock::now();
    raw.Exec("BEGIN IMMEDIATE", "raw begin");
    for (std::size_t t = 0; t < tracks.size();) {
        const std::string& unq = tracks[t].unq;
        const std::string code = unq.substr(0, 2);
        sqlite3_bind_text(disc, 1, unq.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(disc, 2, code.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(disc, 3, tracks[t].brand);
        sqlite3_bind_text(disc, 4, unq.c_str(), -1, SQLITE_TRANSIENT);
        Check(sqlite3_step(disc) == SQLITE_DONE, "raw disc");
        sqlite3_reset(disc);
        for (; t < tracks.size() && tracks[t].unq == unq; ++t) {
            const RawTrack& k = tracks[t];
            sqlite3_bind_text(listing, 1, k.title.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(listing, 2, k.artist.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(listing, 3, unq.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_int(listing, 4, k.track);
            sqlite3_bind_text(listing, 5, "", -1, SQLITE_STATIC);
            sqlite3_bind_int(listing, 6, 80000);
            sqlite3_bind_text(listing, 7, code.c_str(), -1, SQLITE_TRANSIENT);
            Check(sqlite3_step(listing) == SQLITE_DONE, "raw listing");
            sqlite3_reset(listing);
        }
    }
    raw.Exec("COMMIT", "raw commit");
    return Seconds(start, std::chrono::steady_clock::now());
}

void RemoveBook(const std::pair<std::string, std::string>& book) {
    std::error_code ec;
    std::filesystem::remove(book.first, ec);
    std::filesystem::remove(book.second, ec);
}

void AddBrandOf2000Discs(benchmark::State& state) {
    const int listings = static_cast<int>(state.range(0));
    shell::SetSongBaseFileNames(SongBaseFolder());
    const int brandTracks = BrandTracks();
    BookFolder(listings);
    BrandTracksRows();
    fw::testing::Driver d;
    double ours = 0, tagging = 0, raw = 0;
    int runs = 0, added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto book = BookCopy(listings, "Book" + std::to_string(runs));
        shell::SongBookName = book.first;  // the window adds to the book named now
        shell::SBDiscsName = book.second;
        state.ResumeTiming();
        double tagSeconds = 0;
        const double seconds = AddTheBrand(d, &added, &tagSeconds);
        state.PauseTiming();
        RemoveBook(book);
        ours += seconds;
        tagging += tagSeconds;
        raw += RawInserts(listings, "Raw");
        RemoveBook({bench_books::WorkFolder() + "/Raw.2bk", bench_books::WorkFolder() + "/Raw.2bd"});
        ++runs;
        state.ResumeTiming();
        if (added != brandTracks) {
            std::fprintf(stderr, "added %d of %d\n", added, brandTracks);
            state.SkipWithError("not every track was added");
            break;
        }
    }
    if (runs == 0) return;
    state.counters["tracks"] = added;
    state.counters["tracks_per_s"] = added * runs / ours;
    state.counters["vs_raw_sqlite"] = ours / raw;
    state.counters["raw_tracks_per_s"] = added * runs / raw;
    state.counters["tag_all_s"] = tagging / runs;
    state.counters["add_s"] = (ours - tagging) / runs;
}
BENCHMARK(AddBrandOf2000Discs)
    ->ArgName("listings")
    ->Arg(0)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    shell::InitialiseSharedGlobals();
    return RunWindowBenchmarks(argc, argv, {});
}
