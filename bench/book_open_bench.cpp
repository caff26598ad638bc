// Opening a song book of 10,000, 100,000 or 1,000,000 listings as the
// song-book window does: both files shared and their count and quick check
// started beside (fw::BackgroundCheck), which the window's first page does
// not wait for. open_ms is that open, in milliseconds; check_ms the time
// until the check has ended (the book is written to only after it); the
// opens alone are measured beside it, and stop_ms, how long a check under
// way takes to stop when the book is closed. The books are made once and
// kept between runs (bench_fixture_cache.h).
#include "platform/data/background_check.h"
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary_files.h"
#include "shell/data_dictionary_songbook.h"
#include "bench_fixture_cache.h"
#include "bench_sizes.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace {

std::unique_ptr<fw::File> BookFile(const shell::FileEntry& plan, const std::string& path) {
    fw::FileDecl d = shell::FileDeclOf(plan);
    d.name = fw::FixedName(path);
    d.thread = false;
    return std::make_unique<fw::File>(std::move(d));
}

struct Book {
    std::string dir;
    int listings = 0, discCount = 0;
    std::unique_ptr<fw::File> listingsFile, discs;

    explicit Book(int size) : listings(size), discCount(size / 20) {
        dir = bench_cache::CachedFixture("book-open-v1-" + std::to_string(size), [this](const std::string& into) {
            Make(into);
        });
        listingsFile = BookFile(shell::SongBookFile(), dir + "/Party.2bk");
        discs = BookFile(shell::SBDiscsFile(), dir + "/Party.2bd");
    }

    void Make(const std::string& into) const {
        auto book = BookFile(shell::SongBookFile(), into + "/Party.2bk");
        auto discFile = BookFile(shell::SBDiscsFile(), into + "/Party.2bd");
        for (fw::File* f : {book.get(), discFile.get()}) {
            fw::CREATE(*f);
            fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
            fw::STREAM(*f);
        }
        for (int d = 0; d < discCount; ++d) {
            auto& r = discFile->Rec<shell::SBDiscsRec>();
            fw::ClearRecord(&r, shell::SBDiscsRec::Decl());
            r.UNQDISKID = "SC" + std::to_string(10000 + d);
            r.ALTDISKID = "C" + std::to_string(d);
            r.MakeID = 1 + d % 40;
            fw::ADD(*discFile);
        }
        for (int i = 0; i < listings; ++i) {
            auto& r = book->Rec<shell::SongBookRec>();
            fw::ClearRecord(&r, shell::SongBookRec::Decl());
            r.Title = "Song title number " + std::to_string((static_cast<long>(i) * 7919) % listings);
            r.Artist = "Artist " + std::to_string(i % 3000);
            r.UnqDiskID = "SC" + std::to_string(10000 + i % discCount);
            r.DISKTRACKNO = static_cast<std::uint32_t>(1 + i / discCount);
            r.GENRE = "Pop";
            fw::ADD(*book);
        }
        for (fw::File* f : {book.get(), discFile.get()}) {
            fw::FLUSH(*f);
            fw::CLOSE(*f);
        }
    }
};

Book& TheBook(const benchmark::State& state) { return bench_sizes::FixtureOfSize<Book>(state); }

void Sizes(benchmark::internal::Benchmark* b) { bench_sizes::ListingSizes(b); }

// The same opens without the checks, for comparison.
void OpenOnly(benchmark::State& state) {
    Book& book = TheBook(state);
    double totalMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (fw::File* f : {book.listingsFile.get(), book.discs.get()}) fw::SHARE(*f, fw::ReadWrite | fw::DenyNone);
        totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        for (fw::File* f : {book.listingsFile.get(), book.discs.get()}) fw::CLOSE(*f);
    }
    state.counters["open_without_check_ms"] = totalMs / static_cast<double>(state.iterations());
}
BENCHMARK(OpenOnly)->Apply(Sizes)->Unit(benchmark::kMillisecond)->Iterations(20);

void OpenWithQuickCheck(benchmark::State& state) {
    Book& book = TheBook(state);
    double totalMs = 0, checkMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (fw::File* f : {book.listingsFile.get(), book.discs.get()}) {
            fw::SHARE(*f, fw::ReadWrite | fw::DenyNone);
            if (fw::ERRORCODE() != 0) state.SkipWithError(fw::ERROR().c_str());
        }
        fw::BackgroundCheck check({book.listingsFile.get(), book.discs.get()});
        totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        const std::string problem = check.Result();
        checkMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (!problem.empty()) state.SkipWithError(problem.c_str());
        if (fw::RECORDS(*book.listingsFile) != book.listings) state.SkipWithError("the count was not kept");
        for (fw::File* f : {book.listingsFile.get(), book.discs.get()}) fw::CLOSE(*f);
    }
    const double openMs = totalMs / static_cast<double>(state.iterations());
    state.counters["open_ms"] = openMs;
    state.counters["check_ms"] = checkMs / static_cast<double>(state.iterations());
    std::printf("open_ms %.2f (listings %d, discs %d)\n", openMs, book.listings, book.discCount);
}
BENCHMARK(OpenWithQuickCheck)->Apply(Sizes)->Unit(benchmark::kMillisecond)->Iterations(20);

// A book closed 50 ms after it was opened (the window shut at once): how
// long stopping its check keeps the program waiting.
void CloseWhileChecking(benchmark::State& state) {
    Book& book = TheBook(state);
    double stopMs = 0;
    for (auto _ : state) {
        for (fw::File* f : {book.listingsFile.get(), book.discs.get()}) fw::SHARE(*f, fw::ReadWrite | fw::DenyNone);
        auto check = std::make_unique<fw::BackgroundCheck>(std::vector<fw::File*>{book.listingsFile.get(), book.discs.get()});
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the check is under way
        const auto start = std::chrono::steady_clock::now();
        check.reset();
        stopMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        for (fw::File* f : {book.listingsFile.get(), book.discs.get()}) fw::CLOSE(*f);
    }
    state.counters["stop_ms"] = stopMs / static_cast<double>(state.iterations());
}
BENCHMARK(CloseWhileChecking)->Apply(Sizes)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
