// The CSV exchange on a book of 100,000 listings (about 6,250 discs of 11
// to 21 tracks), run as the program runs it, through the test driver on the
// offscreen platform with the progress windows' timers:
//   - export_rows_per_s: the export of all listings (the title-ordered pass
//     joined to the discs, writing and syncing the file),
//   - import_rows_per_s: that file imported into an empty book, the
//     analysis and the import together.
// The book is made once, in a temporary folder, before the first figure.
#include "exchange/export_listings_process.h"
#include "exchange/import_listings_process.h"
#include "exchange/import_session.h"

#include "platform/config/config_folder.h"
#include "platform/data/file_ops.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/driver.h"
#include "shell/checked_open.h"

#include "song_book_bench_book.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr int kListings = 100000;
constexpr const char* kProgress = "P1$PROGRESSWINDOW";

bench_book::BenchBook* g_book = nullptr;

bench_book::BenchBook& TheBook() {
    if (!g_book) {
        g_book = new bench_book::BenchBook(bench_book::MakeBenchBook(kListings, 11, 21));
        fw::SetConfigFolder(g_book->dir + "/config");  // the export's notes stay in the temporary folder
    }
    return *g_book;
}

void UseBook(const std::string& listings, const std::string& discs) {
    shell::SongBookName = listings;
    shell::SBDiscsName = discs;
}

std::string ExportFile() { return TheBook().dir + "/Bench.csv"; }

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
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void ExportAllListings(benchmark::State& state) {
    bench_book::BenchBook& book = TheBook();
    UseBook(book.listingsPath, book.discsPath);
    fw::testing::Driver d;
    double total = 0;
    for (auto _ : state) {
        d.AnswerMessage("Export Operation Completed", fw::Button::Ok);
        const double seconds = TimeProcess(d, [] { exchange::WriteListingFile(ExportFile(), {}); });
        state.SetIterationTime(seconds);
        total += seconds;
    }
    state.counters["export_rows_per_s"] = kListings * static_cast<double>(state.iterations()) / total;
    if (std::filesystem::file_size(ExportFile()) == 0) state.SkipWithError("nothing was exported");
}
BENCHMARK(ExportAllListings)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void ImportIntoAnEmptyBook(benchmark::State& state) {
    bench_book::BenchBook& book = TheBook();
    if (!std::filesystem::exists(ExportFile())) {
        UseBook(book.listingsPath, book.discsPath);
        fw::testing::Driver d;
        d.AnswerMessage("Export Operation Completed", fw::Button::Ok);
        TimeProcess(d, [] { exchange::WriteListingFile(ExportFile(), {}); });
    }
    static int round = 0;
    long imported = 0;
    double total = 0;
    for (auto _ : state) {
        const std::string base = book.dir + "/Empty" + std::to_string(++round);
        UseBook(base + ".2bk", base + ".2bd");  // created empty by the first open
        fw::testing::Driver d;
        const double seconds = TimeProcess(d, [&imported] {
            exchange::ImportSession session;
            exchange::AnalyzeImportFile(ExportFile(), session);
            imported = exchange::ImportListingsProcess(session).listingsAdded;
        });
        state.SetIterationTime(seconds);
        total += seconds;
    }
    state.counters["import_rows_per_s"] = kListings * static_cast<double>(state.iterations()) / total;
    state.counters["imported"] = static_cast<double>(imported);
    if (imported != kListings) state.SkipWithError("not every listing was imported");
}
BENCHMARK(ImportIntoAnEmptyBook)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv, [] {
        if (!g_book) return;
        std::error_code ec;
        std::filesystem::remove_all(g_book->dir, ec);
    });
}
