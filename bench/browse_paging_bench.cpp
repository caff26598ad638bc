// The paged browse and the progress pass over the benchmark song base
// (300,000 tracks in MAIN.TPS, title order, a page of 50 rows): one page
// down, a jump to the end and a thumb drag, each with its view reads; and a
// progress pass at 25 records a timer event beside a plain NEXT loop doing
// the same action.
#include "shell/data_dictionary_files.h"
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "shell/browse_list.h"
#include "shell/browse_codes.h"
#include "shell/browse_page.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/process_pass.h"
#include "tools/songbase_gen/generator/songbase_generator.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

// The dictionary's declaration of a file, at a path of the benchmark's own.
fw::FileDecl FromPlan(const shell::FileEntry& desc, const std::string& path) {
    fw::FileDecl d = shell::FileDeclOf(desc);
    d.name = fw::FixedName(path);
    return d;
}

struct SongBase {
    std::string dir;
    std::unique_ptr<fw::File> karaoke;

    SongBase() {
        char tmpl[] = "/tmp/cv_browse_bench_XXXXXX";
        dir = mkdtemp(tmpl);
        songbase_gen::MemorySongBase records;
        songbase_gen::Options o;
        o.tracks = songbase_gen::kBenchmarkTracks;
        songbase_gen::Generate(o, records);
        karaoke = std::make_unique<fw::File>(FromPlan(shell::KaraokeFile(), dir + "/MAIN.TPS"));
        fw::CREATE(*karaoke);
        fw::OPEN(*karaoke, fw::ReadWrite | fw::DenyNone);
        fw::STREAM(*karaoke);
        for (const auto& r : records.tracks) {
            karaoke->Rec<shell::KaraokeRec>() = r;
            fw::ADD(*karaoke);
        }
        fw::FLUSH(*karaoke);
        if (fw::ERRORCODE()) std::fprintf(stderr, "fill: %s\n", fw::ERROR().c_str());
    }
};

SongBase* g_base = nullptr;

SongBase& Base() {
    if (!g_base) {
        g_base = new SongBase;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(g_base->dir, ec);
        });
    }
    return *g_base;
}

struct TitleBrowse {
    shell::PageOnlyList list{50};
    std::unique_ptr<shell::PagedBrowse> browse;
    TitleBrowse() {
        fw::File& f = *Base().karaoke;
        shell::BrowsePlan desc;
        desc.primary = &f;
        desc.orders = {{f.FindKey("KAR:KTITLE")}};
        desc.columns = [&f] {
            const auto& r = f.Rec<shell::KaraokeRec>();
            return fw::ui::ListRow{std::string(r.Title.Clip()), std::string(r.Artist.Clip()), std::string(r.UnqDiskID.Clip())};
        };
        browse = std::make_unique<shell::PagedBrowse>(desc, list);
        browse->SyncBrowse();
    }
};

void BrowsePageDown(benchmark::State& state) {
    TitleBrowse t;
    int pages = 0;
    for (auto _ : state) {
        t.browse->HandleScrollEvent(shell::codes::PageDown);
        if (++pages == 500) {  // stay away from the end of the view
            state.PauseTiming();
            t.browse->HandleScrollEvent(shell::codes::ScrollTop);
            pages = 0;
            state.ResumeTiming();
        }
    }
    state.counters["rows"] = t.browse->RowsLoaded();
}
BENCHMARK(BrowsePageDown)->Unit(benchmark::kMillisecond);

void BrowseJumpToEnd(benchmark::State& state) {
    TitleBrowse t;
    bool bottom = true;
    for (auto _ : state) {
        t.browse->HandleScrollEvent(bottom ? shell::codes::ScrollBottom : shell::codes::ScrollTop);
        bottom = !bottom;
    }
    state.counters["rows"] = t.browse->RowsLoaded();
}
BENCHMARK(BrowseJumpToEnd)->Unit(benchmark::kMillisecond);

void BrowseThumbDrag(benchmark::State& state) {
    TitleBrowse t;
    int position = 2;
    for (auto _ : state) {
        t.browse->FollowThumb(position);
        position = position % 98 + 2;  // 2..99: the table's stops
    }
    state.counters["rows"] = t.browse->RowsLoaded();
}
BENCHMARK(BrowseThumbDrag)->Unit(benchmark::kMillisecond);

long g_sum = 0;
void Action() { g_sum += Base().karaoke->Rec<shell::KaraokeRec>().DiskTrackNo; }

void ProgressPassAt25PerTick(benchmark::State& state) {
    fw::File& f = *Base().karaoke;
    long read = 0;
    for (auto _ : state) {
        shell::ProgressPlan desc(shell::ViewSource(f, f.FindKey("KAR:KTITLE"), shell::ActionMovesKey::No));
        desc.action = Action;
        desc.measure = shell::ByRecords(25);
        desc.estimate = [&f] { return fw::RECORDS(f); };
        shell::ProgressPass pass(desc);
        fw::SEND(f, "QUICKSCAN=on");
        pass.Start();
        while (pass.State() == shell::PassState::Running) pass.Slice();
        fw::SEND(f, "QUICKSCAN=off");
        read = pass.RecordsRead();
    }
    state.counters["records"] = static_cast<double>(read);
}
BENCHMARK(ProgressPassAt25PerTick)->Unit(benchmark::kMillisecond);

void PlainLoop(benchmark::State& state) {
    fw::File& f = *Base().karaoke;
    long read = 0;
    for (auto _ : state) {
        read = 0;
        fw::SET(f.FindKey("KAR:KTITLE"));
        while (fw::NEXT(f), fw::ERRORCODE() == 0) {
            Action();
            ++read;
        }
    }
    state.counters["records"] = static_cast<double>(read);
}
BENCHMARK(PlainLoop)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
