// The song-book window on a book of 10,000, 100,000 or 1,000,000 listings
// (the figure's first argument; discs of 11 to 21 tracks, with the
// benchmark song base's spread of titles, artists and brands), run through
// the test driver on the offscreen platform:
//   - opening the window until the title list shows its first page,
//   - switching to the artist, disc and title list,
//   - one page down in the title list,
//   - Search ("Begins with...") for a text only the last title of the
//     title order begins with.
// Each book is made once and kept between runs (bench_fixture_cache.h).
// Opening a book starts its check once the first page has painted; the driver does not
// wait for it (SetOutsideWaitLimit(0)): what is timed is what the user
// waits for.
#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "platform/ui/events.h"
#include "platform/ui/testing/driver.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"
#include "songbook/browse_song_book.h"
#include "tools/songbase_gen/generator/songbase_generator.h"
#include "bench_fixture_cache.h"
#include "bench_sizes.h"
#include "song_book_bench_book.h"
#include "window_bench_support.h"


#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace {

// The title that sorts last; no other title begins with the search text.
constexpr const char* kLastTitle = "Zzyzx Road Serenade";
constexpr const char* kSearchText = "zzyzx";
constexpr const char* kWindow = "P1$BROWSEWINDOW";

struct Book {
    std::string dir, listingsPath;
    int listings = 0, discs = 0;

    explicit Book(int size) : listings(size) {
        dir = bench_cache::CachedFixture("song-book-window-v1-" + std::to_string(size), [size](const std::string& into) {
            const bench_book::BenchBook made =
                bench_book::MakeBenchBookIn(into, size, 11, 21, [](songbase_gen::MemorySongBase& base) {
                    base.tracks.back().Title = kLastTitle;
                    const std::string wanted = fw::UpperText(kSearchText);
                    for (std::size_t i = 0; i + 1 < base.tracks.size(); ++i)
                        Check(fw::UpperText(base.tracks[i].Title.Clip().substr(0, wanted.size())) != wanted,
                              "another title begins with the search text");
                });
            std::ofstream(into + "/about.txt") << made.discs << "\n";
        });
        std::ifstream(dir + "/about.txt") >> discs;
        shell::InitialiseSharedGlobals();
        shell::SetSongBaseFileNames(dir);
        listingsPath = dir + "/Bench.2bk";
        songbook::SetBookChooser([this] { return listingsPath; });
        songbook::SetGettingStarted(nullptr);
    }
};

Book& TheBook(const benchmark::State& state) { return bench_sizes::FixtureOfSize<Book>(state); }

void Sizes(benchmark::internal::Benchmark* b) { bench_sizes::ListingSizes(b); }

// The window open on the book, on a driver of its own.
struct OpenWindow {
    fw::testing::Driver d;
    explicit OpenWindow(const benchmark::State& state) {
        TheBook(state);
        d.SetOutsideWaitLimit(0);
        d.Start([] { songbook::BrowseSongBook(); });
    }
    ~OpenWindow() {
        if (d.IsOpen(kWindow)) d.Press("?CLOSE", kWindow);
    }
    bool Shown(benchmark::State& state, const char* list) {
        if (d.IsOpen(kWindow) && !d.Rows(list, kWindow).empty()) return true;
        state.SkipWithError("the list shows no rows");
        return false;
    }
    std::string HighlightedTitle(const char* list, int column) {
        const int n = d.Highlight(list, kWindow);
        const auto rows = d.Rows(list, kWindow);
        if (n < 1 || n > static_cast<int>(rows.size())) return {};
        std::string_view r = rows[static_cast<std::size_t>(n - 1)];
        for (int c = 0; c < column; ++c) r.remove_prefix(std::min(r.size(), r.find('|') + 1));
        return std::string(r.substr(0, r.find('|')));
    }
};

void OpenToFirstPage(benchmark::State& state) {
    Book& book = TheBook(state);
    fw::testing::Driver d;
    d.SetOutsideWaitLimit(0);
    for (auto _ : state) {
        d.Start([] { songbook::BrowseSongBook(); });
        state.PauseTiming();
        const bool shown = d.IsOpen(kWindow) && !d.Rows("?LISTTITLE", kWindow).empty();
        if (d.IsOpen(kWindow)) d.Press("?CLOSE", kWindow);
        state.ResumeTiming();
        if (!shown) {
            state.SkipWithError("the title list shows no rows");
            break;
        }
    }
    state.counters["listings"] = book.listings;
    state.counters["discs"] = book.discs;
}
BENCHMARK(OpenToFirstPage)->Apply(Sizes)->Unit(benchmark::kMillisecond);

// Args: the listings, the list switched to (1 title, 2 artist, 3 disc).
void SwitchList(benchmark::State& state) {
    static const char* const buttons[] = {"", "?BUTTON17", "?BUTTON17:2", "?BUTTON17:3"};
    static const char* const lists[] = {"", "?LISTTITLE", "?LISTARTIST", "?LISTDISCID"};
    const int to = static_cast<int>(state.range(1));
    const int from = to == 1 ? 2 : 1;
    OpenWindow w(state);
    if (!w.Shown(state, "?LISTTITLE")) return;
    for (auto _ : state) {
        state.PauseTiming();
        w.d.Press(buttons[from], kWindow);
        state.ResumeTiming();
        w.d.Press(buttons[to], kWindow);
    }
    w.Shown(state, lists[to]);
}
BENCHMARK(SwitchList)
    ->ArgNames({"listings", "toList"})
    ->ArgsProduct({{10000, 100000, 1000000}, {2, 3, 1}})
    ->Unit(benchmark::kMillisecond);

void TitlePageDown(benchmark::State& state) {
    OpenWindow w(state);
    if (!w.Shown(state, "?LISTTITLE")) return;
    int pages = 0;
    for (auto _ : state) {
        w.d.Key("?LISTTITLE", fw::KeyCode::PgDn, kWindow);
        if (++pages == state.range(0) / 100) {  // stay away from the end of the book
            state.PauseTiming();
            w.d.Key("?LISTTITLE", fw::KeyCode::Home, kWindow);
            pages = 0;
            state.ResumeTiming();
        }
    }
    w.Shown(state, "?LISTTITLE");
}
BENCHMARK(TitlePageDown)->Apply(Sizes)->Unit(benchmark::kMillisecond);

void SearchHitIsTheLastTitle(benchmark::State& state) {
    OpenWindow w(state);
    if (!w.Shown(state, "?LISTTITLE")) return;
    w.d.Type("?SEARCHSTRING", kSearchText, kWindow);
    for (auto _ : state) {
        w.d.Press("?BUTTON28", kWindow);
        state.PauseTiming();
        const bool hit = w.HighlightedTitle("?LISTTITLE", 0) == kLastTitle;
        state.ResumeTiming();
        if (!hit) {
            state.SkipWithError("the last title is not highlighted");
            break;
        }
    }
}
BENCHMARK(SearchHitIsTheLastTitle)->Apply(Sizes)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunWindowBenchmarks(argc, argv, {}); }
