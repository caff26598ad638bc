// Printing a song book of 100,000 listings through the real report
// procedure: Print SongBook, the destination (View), the reading and
// formatting, the timer loop at 25 rows a tick into page files, and the
// preview; styles 1 (plain, one column) and 6 (indented, two columns).
//
// Counters:
//   pages          pages the book made
//   pages_per_s    pages made a second, Print SongBook to the preview open
//   to_preview_s   from Print SongBook to the first preview page painted
//   peak_rss_mb    the run's peak memory (book and generator included)

#include "platform/report/report_fonts.h"
#include "platform/ui/testing/driver.h"
#include "printing/page_view.h"
#include "printing/print_settings.h"
#include "printing/print_song_book.h"
#include "shell/data_dictionary_globals.h"
#include "shell/window_runtime.h"
#include "tools/songbase_gen/generator/songbase_generator.h"
#include "song_book_bench_book.h"
#include "window_bench_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr int kListings = 100000;

// The book "Bench" as the open song book.
struct Book : bench_book::BenchBook {
    Book() : BenchBook(bench_book::MakeBenchBook(kListings, 11, 21)) {
        shell::SongBookName = listingsPath;
        shell::SBDiscsName = discsPath;
    }
};

Book* g_book = nullptr;

// The pages in the newest report page folder of this run.
int PagesInNewestFolder() {
    std::filesystem::path newest;
    std::filesystem::file_time_type when{};
    const std::string prefix = "cv-report-" + std::to_string(getpid()) + "-";
    for (const auto& e : std::filesystem::directory_iterator(QDir::tempPath().toStdString())) {
        if (!e.path().filename().string().starts_with(prefix)) continue;
        if (newest.empty() || e.last_write_time() > when) {
            newest = e.path();
            when = e.last_write_time();
        }
    }
    int n = 0;
    if (!newest.empty())
        for ([[maybe_unused]] const auto& f : std::filesystem::directory_iterator(newest)) ++n;
    return n;
}

void PrintTheBook(benchmark::State& state) {
    if (!g_book) {
        shell::ConnectWindowRuntime();
        fw::report::RegisterReportFonts();
        g_book = new Book;
    }
    printing::PrintSetup& s = printing::PrintSettings();
    s = printing::PrintSetup{};
    s.PrintSort = 2;
    s.PrintFormat = state.range(0);
    s.SetFonts = 2;
    s.ShowMake = 1;
    s.ReportHeader = "Benchmark Night";
    double toPreview = 0, toOpen = 0;
    int pages = 0;
    for (auto _ : state) {
        fw::testing::Driver d;
        QElapsedTimer t;
        double painted = -1;
        printing::PageView::SetFirstPaintHook([&] {
            if (painted < 0) painted = t.nsecsElapsed() / 1e9;
        });
        t.start();
        d.Start(printing::PrintSongBook);
        if (!d.IsOpen("ReportDestinationWindow")) {
            state.SkipWithError("no destination window");
            break;
        }
        d.Press("?OK");
        d.TickUntil([&d] { return d.IsOpen("PreviewReport"); }, 1000000);
        toOpen += t.nsecsElapsed() / 1e9;
        while (painted < 0 && t.elapsed() < 60000) d.Settle();
        toPreview += painted;
        if (!d.IsOpen("PreviewReport")) {
            state.SkipWithError("the preview did not open");
            break;
        }
        pages = PagesInNewestFolder();
        d.Press("?EXITBUTTON", "PreviewReport");
        printing::PageView::SetFirstPaintHook({});
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["pages"] = pages;
    state.counters["pages_per_s"] = pages / (toOpen / n);
    state.counters["to_preview_s"] = toPreview / n;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_mb"] = usage.ru_maxrss / 1024.0;
    std::printf("style %ld: %d pages, %.0f pages/s, to preview %.2f s\n", static_cast<long>(state.range(0)), pages,
                pages / (toOpen / n), toPreview / n);
}
BENCHMARK(PrintTheBook)->Arg(1)->Arg(6)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv, [] {
        if (!g_book) return;
        std::error_code ec;
        std::filesystem::remove_all(g_book->dir, ec);
    });
}
