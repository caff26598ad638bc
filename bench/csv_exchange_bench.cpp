// The CSV exchange on books of 10,000, 100,000 and 1,000,000 listings
// (discs of 11 to 21 tracks), run as the program runs it, through the test
// driver on the offscreen platform with the progress windows' timers:
//   - export_rows_per_s: the export of all listings (the title-ordered pass
//     joined to the discs, writing and syncing the file),
//   - import_rows_per_s: the analysis and the import together, of the
//     book's own export into an empty book (ImportIntoAnEmptyBook), or of
//     a file of 100,000 listings of other discs into a copy of the book
//     (ImportIntoABook); analysis_s, the analysis's seconds of it.
// The argument is the book's size. The books and their exported files are
// made once and kept between runs (bench_fixture_cache.h, bench_book_files.h). The floor,
// measured in the same run, is plain SQLite on the same rows
// (vs_raw_sqlite: our time / the floor's): reading the title order joined
// to the discs and writing the lines for the export; inserting the rows
// (every key kept, one transaction) into the same book for the import.
#include "exchange/export_listings_process.h"
#include "exchange/import_listings_process.h"
#include "exchange/import_session.h"

#include "platform/data/file_ops.h"
#include "platform/data/sqlite_connection.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/driver.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_globals.h"
#include "tools/songbase_gen/generator/songbase_generator.h"

#include "bench_book_files.h"
#include "window_bench_support.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kImportedIntoABook = 100000;
constexpr const char* kProgress = "P1$PROGRESSWINDOW";


void UseBook(const std::string& listings, const std::string& discs) {
    shell::SongBookName = listings;
    shell::SBDiscsName = discs;
}

double Seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// Runs the procedure on a program thread with the book open and ticks its
// progress window to the end; the seconds it took.
double TimeProcess(fw::testing::Driver& d, std::function<void()> procedure) {
    const auto start = std::chrono::steady_clock::now();
    d.Start([procedure] {
        const shell::FileUse discs(shell::SBDiscsFile());
        const shell::FileUse book(shell::SongBookFile());
        procedure();
    });
    d.TickUntil([&d] { return !d.IsOpen(kProgress); }, 10000000);
    return Seconds(start);
}

// A book of `listings` generated listings ("prefix" before the disc IDs)
// and its export, kept as Book.2bk, Book.2bd and Book.csv.
std::string BookFolder(int listings, const std::string& prefix = {}) {
    return bench_cache::CachedFixture(bench_books::FixtureName("csv-book" + prefix, 1, listings), [&](const std::string& out) {
        songbase_gen::MemorySongBase base;
        songbase_gen::Options o;
        o.seed = prefix.empty() ? 1 : 3;
        o.tracks = listings;
        o.minTracksPerDisc = 11;
        o.maxTracksPerDisc = 21;
        songbase_gen::Generate(o, base);
        bench_books::WriteBook(base, out + "/Book.2bk", out + "/Book.2bd", prefix);
        UseBook(out + "/Book.2bk", out + "/Book.2bd");
        fw::testing::Driver d;
        d.AnswerMessage("Export Operation Completed", fw::Button::Ok);
        TimeProcess(d, [out] { exchange::WriteListingFile(out + "/Book.csv", {}); });
        UseBook("", "");
    });
}

// Plain SQLite: the title order joined to the discs, written as lines.
double RawExport(const std::string& folder) {
    sqlite3* db = nullptr;
    Check(sqlite3_open_v2((folder + "/Book.2bk").c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK, "raw open");
    fw::data::RegisterCollations(db);
    sqlite3_exec(db, ("ATTACH DATABASE '" + folder + "/Book.2bd' AS d").c_str(), nullptr, nullptr, nullptr);
    const auto start = std::chrono::steady_clock::now();
    sqlite3_stmt* q = nullptr;
    Check(sqlite3_prepare_v2(db,
                             "SELECT l.Title, l.Artist, d.ALTDISKID, l.DISKTRACKNO, l.UnqDiskID, l.GENRE, l.Duet, l.MAKEID,"
                             " d.MakeID, d.MAKETYPE, l.DateAdded FROM main.records l INDEXED BY key_KTITLE"
                             " LEFT JOIN d.records d ON d.UNQDISKID = l.UnqDiskID"
                             " WHERE l.Title <> '' ORDER BY l.Title, l.Artist, l.DISKTRACKNO, l.DateAdded, l._id",
                             -1, &q, nullptr) == SQLITE_OK,
          "raw prepare");
    std::FILE* out = std::fopen((bench_books::WorkFolder() + "/raw.csv").c_str(), "wb");
    auto text = [q](int i) { return reinterpret_cast<const char*>(sqlite3_column_text(q, i)); };
    while (sqlite3_step(q) == SQLITE_ROW)
        std::fprintf(out, "\"%s\",\"%s\",\"%s\",%d,\"%s\",\"%s\",\"%s\",\"%s\",%d,\"%s\",%d\r\n", text(0), text(1),
                     text(2) ? text(2) : "", sqlite3_column_int(q, 3), text(4), text(5), text(6), text(7),
                     sqlite3_column_int(q, 8), text(9) ? text(9) : "", sqlite3_column_int(q, 10));
    std::fflush(out);
    fsync(fileno(out));
    std::fclose(out);
    sqlite3_finalize(q);
    const double seconds = Seconds(start);
    sqlite3_close(db);
    return seconds;
}

struct RawRow {
    std::string title, artist, unq, alt, genre, duet, makeCode, discCode;
    int track, brand, date;
};

// The rows of a book's listings with their discs, read with plain SQLite.
std::vector<RawRow> RowsOf(const std::string& folder) {
    std::vector<RawRow> rows;
    sqlite3* db = nullptr;
    Check(sqlite3_open_v2((folder + "/Book.2bk").c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK, "raw open");
    fw::data::RegisterCollations(db);
    sqlite3_exec(db, ("ATTACH DATABASE '" + folder + "/Book.2bd' AS d").c_str(), nullptr, nullptr, nullptr);
    sqlite3_stmt* q = nullptr;
    Check(sqlite3_prepare_v2(db,
                             "SELECT l.Title, l.Artist, l.UnqDiskID, d.ALTDISKID, l.GENRE, l.Duet, l.MAKEID, d.MAKETYPE,"
                             " l.DISKTRACKNO, d.MakeID, l.DateAdded FROM main.records l"
                             " LEFT JOIN d.records d ON d.UNQDISKID = l.UnqDiskID",
                             -1, &q, nullptr) == SQLITE_OK,
          "raw prepare");
    auto text = [q](int i) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(q, i));
        return std::string(t ? t : "");
    };
    while (sqlite3_step(q) == SQLITE_ROW)
        rows.push_back({text(0), text(1), text(2), text(3), text(4), text(5), text(6), text(7), sqlite3_column_int(q, 8),
                        sqlite3_column_int(q, 9), sqlite3_column_int(q, 10)});
    sqlite3_finalize(q);
    sqlite3_close(db);
    return rows;
}

// Plain SQLite: the rows inserted into the book (every key kept), a disc
// for each new disc, in one transaction.
double RawImport(const std::vector<RawRow>& rows, const std::string& listingsPath, const std::string& discsPath) {
    bench_books::RawBook raw(listingsPath, discsPath,
                             "Title, Artist, UnqDiskID, DISKTRACKNO, GENRE, Duet, DateAdded, MAKEID");
    sqlite3_stmt* disc = raw.disc;
    sqlite3_stmt* listing = raw.listing;
    const auto start = std::chrono::steady_clock::now();
    raw.Exec("BEGIN IMMEDIATE", "raw begin");
    const std::string* last = nullptr;
    for (const RawRow& r : rows) {
        if (!last || *last != r.unq) {
            last = &r.unq;
            sqlite3_bind_text(disc, 1, r.unq.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(disc, 2, r.discCode.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_int(disc, 3, r.brand);
            sqlite3_bind_text(disc, 4, r.alt.c_str(), -1, SQLITE_STATIC);
            Check(sqlite3_step(disc) == SQLITE_DONE, "raw disc");
            sqlite3_reset(disc);
        }
        sqlite3_bind_text(listing, 1, r.title.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(listing, 2, r.artist.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(listing, 3, r.unq.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int(listing, 4, r.track);
        sqlite3_bind_text(listing, 5, r.genre.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(listing, 6, r.duet.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int(listing, 7, r.date);
        sqlite3_bind_text(listing, 8, r.makeCode.c_str(), -1, SQLITE_STATIC);
        Check(sqlite3_step(listing) == SQLITE_DONE, "raw listing");
        sqlite3_reset(listing);
    }
    raw.Exec("COMMIT", "raw commit");
    return Seconds(start);
}

// The book of the folder copied as `name` in the run's folder (empty when
// no folder is given).
std::pair<std::string, std::string> BookCopy(const std::string& folder, const std::string& name) {
    const std::string listings = bench_books::WorkFolder() + "/" + name + ".2bk";
    const std::string discs = bench_books::WorkFolder() + "/" + name + ".2bd";
    std::error_code ec;
    std::filesystem::remove(listings, ec);
    std::filesystem::remove(discs, ec);
    if (!folder.empty()) {
        bench_books::CopyFile(folder + "/Book.2bk", listings);
        bench_books::CopyFile(folder + "/Book.2bd", discs);
    } else {
        UseBook(listings, discs);
        for (fw::File* f : {&shell::SongBook(), &shell::SBDiscs()}) {
            fw::CREATE(*f);
            Check(fw::ERRORCODE() == 0, "create the book");
        }
    }
    return {listings, discs};
}

void ExportAllListings(benchmark::State& state) {
    const int listings = static_cast<int>(state.range(0));
    const std::string folder = BookFolder(listings);
    UseBook(folder + "/Book.2bk", folder + "/Book.2bd");
    fw::testing::Driver d;
    double total = 0, raw = 0;
    for (auto _ : state) {
        d.AnswerMessage("Export Operation Completed", fw::Button::Ok);
        const double seconds = TimeProcess(d, [] { exchange::WriteListingFile(bench_books::WorkFolder() + "/Bench.csv", {}); });
        state.SetIterationTime(seconds);
        total += seconds;
        raw += RawExport(folder);
    }
    state.counters["export_rows_per_s"] = listings * static_cast<double>(state.iterations()) / total;
    state.counters["vs_raw_sqlite"] = total / raw;
    state.counters["raw_rows_per_s"] = listings * static_cast<double>(state.iterations()) / raw;
    if (std::filesystem::file_size(bench_books::WorkFolder() + "/Bench.csv") == 0) state.SkipWithError("nothing was exported");
    UseBook("", "");
}
BENCHMARK(ExportAllListings)
    ->ArgName("listings")
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// The file of `from` imported into a copy of the book of `into` (empty
// when blank), against the floor.
void Import(benchmark::State& state, const std::string& from, const std::string& into) {
    const std::vector<RawRow> rows = RowsOf(from);
    const long expected = static_cast<long>(rows.size());
    long imported = 0;
    double total = 0, raw = 0, analysis = 0;
    for (auto _ : state) {
        const auto book = BookCopy(into, "Book");
        UseBook(book.first, book.second);
        fw::testing::Driver d;
        double analysing = 0;
        const double seconds = TimeProcess(d, [&imported, &analysing, from] {
            exchange::ImportSession session;
            const auto start = std::chrono::steady_clock::now();
            exchange::AnalyzeImportFile(from + "/Book.csv", session);
            analysing = Seconds(start);
            imported = exchange::ImportListingsProcess(session).listingsAdded;
        });
        analysis += analysing;
        state.SetIterationTime(seconds);
        total += seconds;
        UseBook("", "");
        const auto rawBook = BookCopy(into, "Raw");
        raw += RawImport(rows, rawBook.first, rawBook.second);
        if (imported != expected) break;
    }
    state.counters["import_rows_per_s"] = expected * static_cast<double>(state.iterations()) / total;
    state.counters["vs_raw_sqlite"] = total / raw;
    state.counters["raw_rows_per_s"] = expected * static_cast<double>(state.iterations()) / raw;
    state.counters["imported"] = static_cast<double>(imported);
    state.counters["analysis_s"] = analysis / static_cast<double>(state.iterations());
    if (imported != expected) state.SkipWithError("not every listing was imported");
}

void ImportIntoAnEmptyBook(benchmark::State& state) { Import(state, BookFolder(static_cast<int>(state.range(0))), {}); }
BENCHMARK(ImportIntoAnEmptyBook)
    ->ArgName("listings")
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

void ImportIntoABook(benchmark::State& state) {
    Import(state, BookFolder(kImportedIntoABook, "I"), BookFolder(static_cast<int>(state.range(0))));
}
BENCHMARK(ImportIntoABook)
    ->ArgName("listings")
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    shell::InitialiseSharedGlobals();
    return RunWindowBenchmarks(argc, argv, {});
}
