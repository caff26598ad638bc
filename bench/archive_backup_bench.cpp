// Backup and restore of a song book of realistic size (listings file of
// about 8 MB, discs file of about 1 MB, both text-like and compressible):
// the cost of writing the archive, reading it back to check it, and
// extracting through temporary files.
#include "platform/os/archive/archive.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string BookBytes(size_t size, unsigned seed) {
    static const char* kWords[] = {"LOVE ", "NIGHT ", "BABY ", "HEART ", "DANCE ", "SC8127-04 ", "ABBA ", "    "};
    std::string s;
    s.reserve(size);
    unsigned x = seed;
    while (s.size() < size) {
        x = x * 1103515245u + 12345u;
        s += kWords[(x >> 16) % 8];
    }
    s.resize(size);
    return s;
}

struct Folder {
    fs::path root;
    Folder() {
        char name[] = "/tmp/archive_bench_XXXXXX";
        root = ::mkdtemp(name);
        std::ofstream(root / "Party.2bk", std::ios::binary) << BookBytes(8u << 20, 1);
        std::ofstream(root / "Party.2bd", std::ios::binary) << BookBytes(1u << 20, 2);
        fs::create_directory(root / "restore");
    }
    ~Folder() { fs::remove_all(root); }
};

short Backup(const Folder& f) {
    const fs::path archive = f.root / "Party.bkp";
    short s = fs::exists(archive) ? fw::zOpenZipFile(archive.string()) : fw::zCreateNewZip(archive.string());
    if (s == 0) s = fw::zOrderFile((f.root / "Party.2bk").string(), "Party.2bk", 0);
    if (s == 0) s = fw::zOrderFile((f.root / "Party.2bd").string(), "Party.2bd", 0);
    if (s == 0) s = fw::zCompressFiles("", "", 3, 0, 0, "Cantorvale V2 DedaDaru Virovir Backup Dated: 03/14/26", 0);
    if (s == 0) s = fw::zCloseZipFile();
    return s;
}

void BM_BackupNewArchive(benchmark::State& state) {
    Folder f;
    for (auto _ : state) {
        fs::remove(f.root / "Party.bkp");
        if (Backup(f) != 0) state.SkipWithError(fw::zGetLastErrorAsText().c_str());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (9 << 20));
}
BENCHMARK(BM_BackupNewArchive)->Unit(benchmark::kMillisecond);

void BM_BackupIntoExistingArchive(benchmark::State& state) {
    Folder f;
    Backup(f);
    for (auto _ : state)
        if (Backup(f) != 0) state.SkipWithError(fw::zGetLastErrorAsText().c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (9 << 20));
}
BENCHMARK(BM_BackupIntoExistingArchive)->Unit(benchmark::kMillisecond);

void BM_Restore(benchmark::State& state) {
    Folder f;
    Backup(f);
    const std::string archive = (f.root / "Party.bkp").string();
    const std::string folder = (f.root / "restore").string();
    for (auto _ : state) {
        short s = fw::zOpenZipFile(archive);
        if (s == 0) s = fw::zExtractAll(folder, "", 1, 0, 0, 0, 0);
        if (s == 0) s = fw::zCloseZipFile();
        if (s != 0) state.SkipWithError(fw::zGetLastErrorAsText().c_str());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (9 << 20));
}
BENCHMARK(BM_Restore)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
