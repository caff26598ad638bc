// The song-base windows on a song base of 300,000 or 1,000,000 tracks (the
// size is each figure's first argument), run through the test driver on the
// offscreen platform:
//   - Search Main SongBase, "Contains" over the titles and over the
//     artists, from pressing Search until the first page shows, for a
//     common text and for a text nothing holds (contains_first_page_ms);
//   - one page down in View/Change Main SongBase (browse_page_ms);
//   - one page down of 20 rows in the artist side's disc list, each row
//     counting its disc's tracks in an open book of 100,000 listings
//     (dup_page_ms).
// The files are made once for each size and kept between runs
// (bench_fixture_cache.h).
#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/control.h"
#include "platform/ui/events.h"
#include "platform/ui/props.h"
#include "platform/ui/testing/driver.h"
#include "platform/ui/window.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"
#include "songbase/browse_song_base.h"
#include "songbase/search_song_base.h"
#include "tools/songbase_gen/generator/data_file_sink.h"
#include "tools/songbase_gen/generator/songbase_generator.h"
#include "bench_fixture_cache.h"
#include "bench_sizes.h"
#include "window_bench_support.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kBookListings = 100000;
constexpr int kDupPageRows = 20;
constexpr const char* kSearchWindow = "P1$SONGBASESEARCH";
constexpr const char* kBrowseWindow = "P1$SONGBASEBROWSE";

struct Files {
    std::string dir;
    std::string busiestArtist;  // the artist with the most tracks
    long tracks = 0;

    explicit Files(int size) {
        dir = bench_cache::CachedFixture("songbase-search-v1-" + std::to_string(size), [size](const std::string& into) {
            Make(into, size);
        });
        std::ifstream about(dir + "/about.txt");
        std::getline(about, busiestArtist);
        about >> tracks;
        shell::InitialiseSharedGlobals();
        shell::SetSongBaseFileNames(dir);
    }

    // The song base's files, the book (its first 100,000 tracks) and
    // about.txt: the busiest artist's name, then the number of tracks.
    static void Make(const std::string& dir, int size) {
        shell::InitialiseSharedGlobals();
        shell::SetSongBaseFileNames(dir);
        songbase_gen::MemorySongBase base;
        songbase_gen::Options o;
        o.tracks = size;
        songbase_gen::Generate(o, base);
        {
            songbase_gen::DataFileSongBase files(dir);
            base.CopyTo(files);
            const std::string error = files.Finish();
            Check(error.empty(), error.c_str());
        }
        std::map<std::string, int> perArtist;
        int most = 0;
        std::string busiest;
        for (const auto& t : base.tracks) {
            const int n = ++perArtist[t.Artist.Str()];
            if (n > most && t.Artist.Str().size() < 25) {
                most = n;
                busiest = t.Artist.Str();
            }
        }
        shell::SongBookName = dir + "/Bench.2bk";
        fw::File& book = shell::SongBook();
        fw::CREATE(book);
        Check(fw::ERRORCODE() == 0, "create the book");
        fw::OPEN(book, fw::ReadWrite | fw::DenyNone);
        fw::STREAM(book);
        for (int i = 0; i < kBookListings; ++i) {
            const shell::KaraokeRec& t = base.tracks[static_cast<std::size_t>(i)];
            auto& rec = book.Rec<shell::SongBookRec>();
            fw::ClearRecord(&rec, *shell::SongBookFile().record);
            rec.Title = t.Title.Clip();
            rec.Artist = t.Artist.Clip();
            rec.UnqDiskID = t.UnqDiskID.Clip();
            rec.DISKTRACKNO = t.DiskTrackNo;
            fw::ADD(book);
            Check(fw::ERRORCODE() == 0, "add a listing");
        }
        fw::FLUSH(book);
        fw::CLOSE(book);
        shell::SongBookName = "";
        std::ofstream(dir + "/about.txt") << busiest << "\n" << base.tracks.size() << "\n";
    }
};

// The files of the size asked for (one size open at a time).
Files& TheFiles(const benchmark::State& state) { return bench_sizes::FixtureOfSize<Files>(state); }
// The open book as the song-book window leaves it for other threads.
void OpenTheBook(const Files& files, bool open) {
    shell::SongBookName = open ? files.dir + "/Bench.2bk" : std::string();
    shell::SongBookIsOpen = open ? 1 : 0;
    ++shell::SongBookOpenings;
}

double Ms(std::chrono::steady_clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Page downs in a list, back to the top after every `pages`; the mean
// milliseconds of a page down.
double PageDowns(benchmark::State& state, fw::testing::Driver& d, const char* list, const char* window, int pages) {
    int done = 0;
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        d.Key(list, fw::KeyCode::PgDn, window);
        total += Ms(std::chrono::steady_clock::now() - start);
        if (++done == pages) {
            state.PauseTiming();
            d.Key(list, fw::KeyCode::Home, window);
            done = 0;
            state.ResumeTiming();
        }
    }
    return total / static_cast<double>(state.iterations());
}

// Arg 0: titles, 1: artists; arg 1: 0 a common text, 1 a text nothing holds.
void ContainsFirstPage(benchmark::State& state) {
    Files& files = TheFiles(state);
    OpenTheBook(files, false);
    const bool artists = state.range(1) == 1;
    const bool none = state.range(2) == 1;
    const std::string text = none ? "qzqzx" : artists ? "the" : "love";
    fw::testing::Driver d;
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        d.Start([] { songbase::SearchSongBase(); });
        d.Choose("?SEARCHBY", artists ? 2 : 1, kSearchWindow);
        d.Type("?SEARCHFIELD", text, kSearchWindow);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        d.Press("?BUTTON6", kSearchWindow);
        total += Ms(std::chrono::steady_clock::now() - start);
        state.PauseTiming();
        const bool shown = d.Rows(artists ? "?LIST:3" : "?LIST", kSearchWindow).empty() == none;
        d.Press("?BUTTON2", kSearchWindow);
        state.ResumeTiming();
        if (!shown) {
            state.SkipWithError("the list does not show what was searched");
            break;
        }
    }
    state.counters["contains_first_page_ms"] = total / static_cast<double>(state.iterations());
    state.counters["tracks"] = static_cast<double>(files.tracks);
}
BENCHMARK(ContainsFirstPage)
    ->ArgNames({"tracks", "artists", "nomatch"})
    ->ArgsProduct({{300000, 1000000}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BrowsePageDown(benchmark::State& state) {
    TheFiles(state);
    fw::testing::Driver d;
    d.Start([] { songbase::BrowseSongBase(); });
    if (d.Rows("?LIST", kBrowseWindow).empty()) {
        state.SkipWithError("the browse shows no rows");
        return;
    }
    state.counters["browse_page_ms"] = PageDowns(state, d, "?LIST", kBrowseWindow, 1000);
    state.counters["page_rows"] = static_cast<double>(d.Rows("?LIST", kBrowseWindow).size());
    d.Press("?CLOSE", kBrowseWindow);
}
BENCHMARK(BrowsePageDown)->ArgName("tracks")->Arg(300000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A page down of the artist side's disc list with the book open (each row
// counts its disc's tracks in the book) and, as the baseline, without.
void DupPage(benchmark::State& state) {
    Files& files = TheFiles(state);
    const bool counted = state.range(1) == 1;
    OpenTheBook(files, counted);
    fw::testing::Driver d;
    d.Start([] { songbase::SearchSongBase(); });
    d.FindWindow(kSearchWindow)->Find("?LIST:4")->Set(fw::Prop::Items, kDupPageRows, 0);
    d.Choose("?SEARCHBY", 2, kSearchWindow);
    d.Type("?SEARCHFIELD", files.busiestArtist, kSearchWindow);
    d.Press("?BUTTON6", kSearchWindow);
    const auto rows = d.Rows("?LIST:4", kSearchWindow).size();
    if (rows != static_cast<std::size_t>(kDupPageRows)) {
        state.SkipWithError("the disc list does not show a full page");
        return;
    }
    // Three pages stay within the artist's tracks.
    state.counters[counted ? "dup_page_ms" : "disc_page_ms"] = PageDowns(state, d, "?LIST:4", kSearchWindow, 3);
    state.counters["book_listings"] = counted ? kBookListings : 0;
    d.Press("?BUTTON2", kSearchWindow);
    OpenTheBook(files, false);
}
BENCHMARK(DupPage)
    ->ArgNames({"tracks", "counted"})
    ->ArgsProduct({{300000, 1000000}, {1, 0}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunWindowBenchmarks(argc, argv, {}); }
