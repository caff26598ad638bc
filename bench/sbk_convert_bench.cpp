// Converting a book of the earlier format (an .sbk/.sbd pair of 100,000
// listings on about 6,250 discs, TopSpeed files written by the test fixture
// writer) through ConvertSbkSongBook, as the song-book window runs it: the
// progress window driven by the test driver's timer on the offscreen
// platform, 1,000 bytes of old listings a tick, the brand codes looked up in
// a Main SongBase of the book's discs, the keys built, the new pair checked
// and put in place, the old pair renamed. Prints records_per_s; the goal is
// 50,000 or more.
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/testing/driver.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_files.h"
#include "shell/data_layer.h"
#include "songbook/convert_books.h"
#include "tests/songbook/older_books.h"
#include "tools/songbase_gen/generator/songbase_generator.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
constexpr int kListings = 100000;

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "sbk convert: %s: %s\n", what, fw::ERROR().c_str());
    std::exit(1);
}

struct Fixture {
    std::string dir;
    std::string sbk, sbd;  // the pair as made, copied in before each run
    long discs = 0;

    Fixture() {
        char tmpl[] = "/tmp/cv_sbk_convert_bench_XXXXXX";
        dir = mkdtemp(tmpl);
        shell::InitialiseSharedGlobals();
        shell::SetSongBaseFileNames(dir);

        songbase_gen::MemorySongBase base;
        songbase_gen::Options o;
        o.tracks = kListings;
        o.minTracksPerDisc = 11;
        o.maxTracksPerDisc = 21;
        songbase_gen::Generate(o, base);

        // The Main SongBase knows every other disc, so half get a brand code.
        fw::File& songBaseDiscs = shell::Discs();
        fw::CREATE(songBaseDiscs);
        fw::OPEN(songBaseDiscs, fw::ReadWrite | fw::DenyNone);
        Check(fw::ERRORCODE() == 0, "song base discs");
        fw::STREAM(songBaseDiscs);
        std::vector<song_book_test::OlderDisc> oldDiscs;
        for (const shell::DiscsRec& d : base.discs) {
            if (++discs % 2 == 0) {
                songBaseDiscs.Rec<shell::DiscsRec>() = d;
                fw::ADD(songBaseDiscs);
            }
            oldDiscs.push_back({std::string(d.UnqDiskID.Clip()), d.MakeID, "C" + std::to_string(discs)});
        }
        fw::CLOSE(songBaseDiscs);

        std::vector<song_book_test::OlderListing> listings;
        listings.reserve(base.tracks.size());
        for (const shell::KaraokeRec& t : base.tracks)
            listings.push_back({std::string(t.Title.Clip()), std::string(t.Artist.Clip()),
                                std::string(t.UnqDiskID.Clip()), static_cast<std::uint16_t>(t.DiskTrackNo)});
        sbk = dir + "/fixture.sbk";
        sbd = dir + "/fixture.sbd";
        song_book_test::WriteFile(sbk, song_book_test::SbkFile(listings));
        song_book_test::WriteFile(sbd, song_book_test::SbdFile(oldDiscs));
    }

    // A fresh pair under Bench.sbk/.sbd and nothing converted yet.
    void Reset() const {
        for (const char* ext : {".2bk", ".2bd", ".sxk", ".sxd", ".sbk", ".sbd"}) fs::remove(dir + "/Bench" + ext);
        fs::copy_file(sbk, dir + "/Bench.sbk");
        fs::copy_file(sbd, dir + "/Bench.sbd");
    }
};

Fixture* g_fixture = nullptr;

void ConvertSbkBook(benchmark::State& state) {
    if (!g_fixture) g_fixture = new Fixture;
    const Fixture& fixture = *g_fixture;
    fw::testing::Driver d;
    long converted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fixture.Reset();
        state.ResumeTiming();
        bool ok = false;
        d.Start([&] {
            shell::SongBookName = fixture.dir + "/Bench.sbk";
            shell::SBDiscsName = fixture.dir + "/Bench.sbd";
            ok = songbook::ConvertSbkSongBook();
        });
        d.TickUntil([&] { return !d.IsOpen("P1$PROGRESSWINDOW"); }, 100000000);
        if (!ok || !fs::exists(fixture.dir + "/Bench.sxk")) {
            state.SkipWithError("the book was not converted");
            break;
        }
        converted += kListings;
    }
    state.counters["records_per_s"] = benchmark::Counter(static_cast<double>(converted), benchmark::Counter::kIsRate);
    state.counters["listings"] = kListings;
    state.counters["discs"] = static_cast<double>(fixture.discs);
}
BENCHMARK(ConvertSbkBook)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    shell::ConnectDataLayer();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_fixture) {
        std::error_code ec;
        fs::remove_all(g_fixture->dir, ec);
    }
    return 0;
}
