// Printing song books of 100,000 and 1,000,000 listings through the real
// report procedure: Print SongBook, the destination (View), the reading and
// formatting, the timer loop at 25 rows a tick into page files, and the
// preview; styles 1 (plain, one column) and 6 (indented, two columns).
//
// Counters:
//   listings       listings in the book
//   pages          pages the book made
//   pages_per_s    pages made a second, Print SongBook to the preview open
//   to_preview_s   from Print SongBook to the first preview page painted
//   peak_rss_mb    the process's peak memory while it printed (the book is
//                  made first; its generator's memory is given back and the
//                  peak counted afresh before Print SongBook)

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
#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

// The books, made once each.
std::map<int, bench_book::BenchBook>& Books() {
    static std::map<int, bench_book::BenchBook> books;
    return books;
}

void OpenBook(int listings) {
    auto it = Books().find(listings);
    if (it == Books().end()) it = Books().emplace(listings, bench_book::MakeBenchBook(listings, 11, 21)).first;
    shell::SongBookName = it->second.listingsPath;
    shell::SBDiscsName = it->second.discsPath;
}

// The peak resident memory counted afresh (Linux: clear_refs 5), and read.
void ResetPeakMemory() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}
double PeakMemoryMb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

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
    static bool connected = false;
    if (!connected) {
        shell::ConnectWindowRuntime();
        fw::report::RegisterReportFonts();
        connected = true;
    }
    const int listings = static_cast<int>(state.range(1));
    OpenBook(listings);
    printing::PrintSetup& s = printing::PrintSettings();
    s = printing::PrintSetup{};
    s.PrintSort = 2;
    s.PrintFormat = state.range(0);
    s.SetFonts = 2;
    s.ShowMake = 1;
    s.ReportHeader = "Benchmark Night";
    double toPreview = 0, toOpen = 0;
    int pages = 0;
    ResetPeakMemory();
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
    state.counters["listings"] = listings;
    state.counters["pages"] = pages;
    state.counters["pages_per_s"] = pages / (toOpen / n);
    state.counters["to_preview_s"] = toPreview / n;
    state.counters["peak_rss_mb"] = PeakMemoryMb();
    std::printf("style %ld, %d listings: %d pages, %.0f pages/s, to preview %.2f s, peak %.0f MB\n",
                static_cast<long>(state.range(0)), listings, pages, pages / (toOpen / n), toPreview / n, PeakMemoryMb());
}
BENCHMARK(PrintTheBook)
    ->ArgNames({"style", "listings"})
    ->Args({1, 100000})
    ->Args({6, 100000})
    ->Args({1, 1000000})
    ->Args({6, 1000000})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv, [] {
        std::error_code ec;
        for (const auto& [listings, book] : Books()) std::filesystem::remove_all(book.dir, ec);
    });
}
