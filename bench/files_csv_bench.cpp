// The comma-delimited driver at export sizes: 100,000 listing lines written
// with the OEM attribute, then read back.

#include "platform/data/csv/csv_file.h"
#include "platform/runtime/error_state.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct Bas {
    fw::FString<40> TITLE;
    fw::FString<40> ARTIST;
    fw::FString<15> ALTDISKID;
    std::uint32_t DISKTRACKNO = 0;
    fw::FString<15> UNQDISKID;
    fw::FString<40> GENRE;
    fw::FString<1> DUET;
    fw::FString<2> SBKMAKEID;
    std::int32_t MAKEID = 0;
    fw::FString<2> MAKETYPE;
    fw::FString<40> DATEADDED;
};

const fw::RecordDecl& BasDecl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<Bas>("BAS")
                                        .Field("TITLE", &Bas::TITLE)
                                        .Field("ARTIST", &Bas::ARTIST)
                                        .Field("ALTDISKID", &Bas::ALTDISKID)
                                        .Field("DISKTRACKNO", &Bas::DISKTRACKNO)
                                        .Field("UNQDISKID", &Bas::UNQDISKID)
                                        .Field("GENRE", &Bas::GENRE)
                                        .Field("DUET", &Bas::DUET)
                                        .Field("SBKMAKEID", &Bas::SBKMAKEID)
                                        .Field("MAKEID", &Bas::MAKEID)
                                        .Field("MAKETYPE", &Bas::MAKETYPE)
                                        .Field("DATEADDED", &Bas::DATEADDED)
                                        .Build();
    return d;
}

constexpr int kLines = 100000;

std::string FilePath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("files_csv_bench_" + std::to_string(getpid()) + ".csv")).string();
    return path;
}

void WriteFile() {
    fw::CsvFileOf<Bas> f(BasDecl(), fw::kCsvOem);
    f.name = FilePath();
    fw::CREATE(f);
    fw::OPEN(f);
    for (int i = 0; i < kLines; ++i) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "Song number %d, \"live\"", i);
        f.rec.TITLE = buf;
        f.rec.ARTIST = "Beyonc\xE9 & the Band";
        std::snprintf(buf, sizeof buf, "SC%07d", i / 20);
        f.rec.ALTDISKID = buf;
        f.rec.UNQDISKID = buf;
        f.rec.DISKTRACKNO = static_cast<std::uint32_t>(i % 20 + 1);
        f.rec.GENRE = "Country";
        f.rec.MAKEID = i % 300;
        f.rec.DATEADDED = "03/14/24";
        fw::APPEND(f);
    }
    fw::CLOSE(f);
}

void BM_CsvWrite100k(benchmark::State& state) {
    for (auto _ : state) WriteFile();
    state.SetItemsProcessed(state.iterations() * kLines);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(FilePath()));
}
BENCHMARK(BM_CsvWrite100k)->Unit(benchmark::kMillisecond);

void BM_CsvRead100k(benchmark::State& state) {
    WriteFile();
    for (auto _ : state) {
        fw::CsvFileOf<Bas> f(BasDecl(), fw::kCsvOem);
        f.name = FilePath();
        fw::OPEN(f);
        long n = 0;
        for (fw::NEXT(f); fw::ERRORCODE() == 0; fw::NEXT(f)) ++n;
        if (n != kLines) state.SkipWithError("wrong record count");
        fw::CLOSE(f);
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_CsvRead100k)->Unit(benchmark::kMillisecond);

void BM_CsvRecordsThenGetLast100k(benchmark::State& state) {
    WriteFile();
    for (auto _ : state) {
        fw::CsvFileOf<Bas> f(BasDecl(), fw::kCsvOem);
        f.name = FilePath();
        fw::OPEN(f);
        const long n = fw::RECORDS(f);
        fw::GET(f, n);
        if (fw::ERRORCODE() != 0) state.SkipWithError("GET failed");
        fw::CLOSE(f);
    }
}
BENCHMARK(BM_CsvRecordsThenGetLast100k)->Unit(benchmark::kMillisecond);

struct RemoveFile {
    ~RemoveFile() {
        std::error_code ec;
        std::filesystem::remove(FilePath(), ec);
    }
} removeFile;

}  // namespace

BENCHMARK_MAIN();
