// Opening a song book of 100,000 listings as the song-book window does:
// both files shared, each given SQLite's quick check, then closed again.
// open_ms is one open with its checks, in milliseconds; the opens alone are
// measured beside it.
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary_files.h"
#include "shell/data_dictionary_songbook.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int kListings = 100000;
constexpr int kDiscs = 5000;

std::unique_ptr<fw::File> BookFile(const shell::FileEntry& plan, const std::string& path) {
    fw::FileDecl d = shell::FileDeclOf(plan);
    d.name = fw::FixedName(path);
    d.thread = false;
    return std::make_unique<fw::File>(std::move(d));
}

struct Book {
    std::string dir;
    std::unique_ptr<fw::File> listings, discs;

    Book() {
        char tmpl[] = "/tmp/cv_book_open_bench_XXXXXX";
        dir = mkdtemp(tmpl);
        listings = BookFile(shell::SongBookFile(), dir + "/Party.2bk");
        discs = BookFile(shell::SBDiscsFile(), dir + "/Party.2bd");
        for (fw::File* f : {listings.get(), discs.get()}) {
            fw::CREATE(*f);
            fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
            fw::STREAM(*f);
        }
        for (int d = 0; d < kDiscs; ++d) {
            auto& r = discs->Rec<shell::SBDiscsRec>();
            fw::ClearRecord(&r, shell::SBDiscsRec::Decl());
            r.UNQDISKID = "SC" + std::to_string(10000 + d);
            r.ALTDISKID = "C" + std::to_string(d);
            r.MakeID = 1 + d % 40;
            fw::ADD(*discs);
        }
        for (int i = 0; i < kListings; ++i) {
            auto& r = listings->Rec<shell::SongBookRec>();
            fw::ClearRecord(&r, shell::SongBookRec::Decl());
            r.Title = "Song title number " + std::to_string((i * 7919) % kListings);
            r.Artist = "Artist " + std::to_string(i % 3000);
            r.UnqDiskID = "SC" + std::to_string(10000 + i % kDiscs);
            r.DISKTRACKNO = static_cast<std::uint32_t>(1 + i / kDiscs);
            r.GENRE = "Pop";
            fw::ADD(*listings);
        }
        for (fw::File* f : {listings.get(), discs.get()}) {
            fw::FLUSH(*f);
            fw::CLOSE(*f);
        }
    }
    ~Book() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

Book& TheBook() {
    static Book book;
    return book;
}

// The same opens without the checks, for comparison.
void OpenOnly(benchmark::State& state) {
    Book& book = TheBook();
    double totalMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (fw::File* f : {book.listings.get(), book.discs.get()}) fw::SHARE(*f, fw::ReadWrite | fw::DenyNone);
        totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        for (fw::File* f : {book.listings.get(), book.discs.get()}) fw::CLOSE(*f);
    }
    state.counters["open_without_check_ms"] = totalMs / static_cast<double>(state.iterations());
}
BENCHMARK(OpenOnly)->Unit(benchmark::kMillisecond)->Iterations(20);

void OpenWithQuickCheck(benchmark::State& state) {
    Book& book = TheBook();
    double totalMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (fw::File* f : {book.listings.get(), book.discs.get()}) {
            fw::SHARE(*f, fw::ReadWrite | fw::DenyNone);
            if (fw::ERRORCODE() != 0) state.SkipWithError(fw::ERROR().c_str());
            const std::string problem = fw::QuickCheck(*f);
            if (!problem.empty()) state.SkipWithError(problem.c_str());
        }
        totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        for (fw::File* f : {book.listings.get(), book.discs.get()}) fw::CLOSE(*f);
    }
    const double openMs = totalMs / static_cast<double>(state.iterations());
    state.counters["open_ms"] = openMs;
    std::printf("open_ms %.2f (listings %d, discs %d)\n", openMs, kListings, kDiscs);
}
BENCHMARK(OpenWithQuickCheck)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
