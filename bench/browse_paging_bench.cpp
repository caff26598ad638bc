// The paged browse and the progress pass over a song base (MAIN.TPS) of
// 10,000, 100,000 or 1,000,000 tracks, a page of 50 rows: one page down in
// title, artist or disc order, beside the same page read with raw SQLite in
// the same run (vs_raw_sqlite: the browse's time over the raw read's); a
// jump to the end and a thumb drag; and a progress pass at 25 records a
// timer event beside a plain NEXT loop doing the same action. The song
// bases are made once and kept between runs (bench_fixture_cache.h).
#include "shell/data_dictionary_files.h"
#include "platform/data/file_ops.h"
#include "platform/data/schema.h"
#include "platform/data/sqlite_connection.h"
#include "platform/runtime/error_state.h"
#include "shell/browse_list.h"
#include "shell/browse_codes.h"
#include "shell/browse_page.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/process_pass.h"
#include "tools/songbase_gen/generator/songbase_generator.h"
#include "bench_fixture_cache.h"
#include "bench_sizes.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kPage = 50;

// The dictionary's declaration of a file, at a path of the benchmark's own.
fw::FileDecl FromPlan(const shell::FileEntry& desc, const std::string& path) {
    fw::FileDecl d = shell::FileDeclOf(desc);
    d.name = fw::FixedName(path);
    return d;
}

struct SongBase {
    std::string path;
    std::unique_ptr<fw::File> karaoke;

    explicit SongBase(int tracks) {
        const std::string dir = bench_cache::CachedFixture(
            "browse-songbase-v1-" + std::to_string(tracks), [tracks](const std::string& into) {
                songbase_gen::MemorySongBase records;
                songbase_gen::Options o;
                o.tracks = tracks;
                songbase_gen::Generate(o, records);
                fw::File f(FromPlan(shell::KaraokeFile(), into + "/MAIN.TPS"));
                fw::CREATE(f);
                fw::OPEN(f, fw::ReadWrite | fw::DenyNone);
                fw::STREAM(f);
                for (const auto& r : records.tracks) {
                    f.Rec<shell::KaraokeRec>() = r;
                    fw::ADD(f);
                }
                fw::FLUSH(f);
                if (fw::ERRORCODE()) std::fprintf(stderr, "fill: %s\n", fw::ERROR().c_str());
                fw::CLOSE(f);
            });
        path = dir + "/MAIN.TPS";
        karaoke = std::make_unique<fw::File>(FromPlan(shell::KaraokeFile(), path));
        fw::OPEN(*karaoke, fw::ReadWrite | fw::DenyNone);
        if (fw::ERRORCODE()) std::fprintf(stderr, "open: %s\n", fw::ERROR().c_str());
    }
};

// One song base open at a time: the one of the size asked for.
SongBase& Base(int tracks) {
    static std::unique_ptr<SongBase> base;
    static int size = 0;
    if (!base || size != tracks) {
        base.reset();
        base = std::make_unique<SongBase>(tracks);
        size = tracks;
    }
    return *base;
}
SongBase& Base(const benchmark::State& state) { return Base(static_cast<int>(state.range(0))); }

const char* const kOrders[] = {"KAR:KTITLE", "KAR:KARTIST", "KAR:KDISK"};

struct TitleBrowse {
    shell::PageOnlyList list{kPage};
    std::unique_ptr<shell::PagedBrowse> browse;
    explicit TitleBrowse(fw::File& f, const char* order = kOrders[0]) {
        shell::BrowsePlan desc;
        desc.primary = &f;
        desc.orders = {{f.FindKey(order)}};
        desc.columns = [&f] {
            const auto& r = f.Rec<shell::KaraokeRec>();
            return fw::ui::ListRow{std::string(r.Title.Clip()), std::string(r.Artist.Clip()), std::string(r.UnqDiskID.Clip())};
        };
        browse = std::make_unique<shell::PagedBrowse>(desc, list);
        browse->SyncBrowse();
    }
};

// The raw floor: the same pages read straight from SQLite on a connection
// of its own, one prepared statement seeking past the last row read (its
// key values and row id) in the key's index order, every column of each
// row taken out as the browse takes them into its record buffer.
class RawPages {
public:
    RawPages(const std::string& path, fw::File& f, const char* order) {
        sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
        fw::data::RegisterCollations(db_);
        // The same page cache as the data layer's connections.
        sqlite3_exec(db_, (std::string("PRAGMA ") + fw::data::kCacheSizePragma).c_str(), nullptr, nullptr, nullptr);
        const fw::Key key = f.FindKey(order);
        std::string cols, marks;
        for (std::size_t c = 0; c < f.KeyFields(key.index).size(); ++c) {
            cols += fw::data::KeyColumn(f, key.index, static_cast<int>(c)) + ",";
            marks += "?,";
        }
        components_ = static_cast<int>(f.KeyFields(key.index).size());
        columns_ = static_cast<int>(f.Record().fields.size());
        std::string where = fw::data::KeyPredicate(f, key.index);  // the key's index is a partial one
        if (where.empty()) where = "1";
        const std::string all = "SELECT _id," + fw::data::ColumnList(f) + " FROM records WHERE " + where;
        const std::string order_by = " ORDER BY " + cols + "_id LIMIT " + std::to_string(kPage);
        const std::string next = all + " AND (" + cols + "_id) > (" + marks + "?)" + order_by;
        sqlite3_prepare_v2(db_, (all + order_by).c_str(), -1, &first_, nullptr);
        sqlite3_prepare_v2(db_, next.c_str(), -1, &next_, nullptr);
        static std::map<std::string, bool> shown;  // the raw query's plan, once an order
        if (!shown[order]) {
            shown[order] = true;
            sqlite3_stmt* plan = nullptr;
            sqlite3_prepare_v2(db_, ("EXPLAIN QUERY PLAN " + next).c_str(), -1, &plan, nullptr);
            while (sqlite3_step(plan) == SQLITE_ROW)
                std::fprintf(stderr, "raw %s: %s\n", order, reinterpret_cast<const char*>(sqlite3_column_text(plan, 3)));
            sqlite3_finalize(plan);
        }
        for (int c = 0; c < components_; ++c) keyAt_.push_back(1 + f.KeyFields(key.index)[static_cast<std::size_t>(c)]);
    }
    ~RawPages() {
        Top();
        sqlite3_finalize(first_);
        sqlite3_finalize(next_);
        sqlite3_close(db_);
    }
    void Top() {
        for (sqlite3_value* v : last_) sqlite3_value_free(v);
        last_.clear();
    }
    // The next page; the rows read.
    int Page() {
        sqlite3_stmt* s = last_.empty() ? first_ : next_;
        if (!last_.empty()) {
            for (int c = 0; c < components_; ++c) sqlite3_bind_value(s, c + 1, last_[static_cast<std::size_t>(c)]);
            sqlite3_bind_int64(s, components_ + 1, lastId_);
        }
        int rows = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            ++rows;
            lastId_ = sqlite3_column_int64(s, 0);
            for (int c = 1; c <= columns_; ++c) {
                if (sqlite3_column_type(s, c) == SQLITE_TEXT) sink_ += sqlite3_column_bytes(s, c) + *sqlite3_column_text(s, c);
                else sink_ += sqlite3_column_int64(s, c);
            }
            if (rows == kPage) {
                // The last row's key values, for the next page's seek.
                Top();
                for (int c = 0; c < components_; ++c)
                    last_.push_back(sqlite3_value_dup(sqlite3_column_value(s, keyAt_[static_cast<std::size_t>(c)])));
            }
        }
        sqlite3_reset(s);
        return rows;
    }
    long Sink() const { return sink_; }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* first_ = nullptr;
    sqlite3_stmt* next_ = nullptr;
    int components_ = 0, columns_ = 0;
    std::vector<int> keyAt_;
    std::vector<sqlite3_value*> last_;
    std::int64_t lastId_ = 0;
    long sink_ = 0;
};

double Since(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

// Args: the tracks, the order (0 title, 1 artist, 2 disc and track).
void BrowsePageDown(benchmark::State& state) {
    SongBase& base = Base(state);
    const char* order = kOrders[state.range(1)];
    TitleBrowse t(*base.karaoke, order);
    RawPages raw(base.path, *base.karaoke, order);
    raw.Page();  // the browse shows the first page already
    const int restartAfter = static_cast<int>(state.range(0) / kPage / 2);  // stay away from the end
    int pages = 0;
    double browseSeconds = 0, rawSeconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        t.browse->HandleScrollEvent(shell::codes::PageDown);
        browseSeconds += Since(start);
        state.PauseTiming();
        start = std::chrono::steady_clock::now();
        const int rows = raw.Page();
        rawSeconds += Since(start);
        if (rows != kPage) state.SkipWithError("the raw read ended early");
        if (++pages == restartAfter) {
            t.browse->HandleScrollEvent(shell::codes::ScrollTop);
            raw.Top();
            raw.Page();
            pages = 0;
        }
        state.ResumeTiming();
    }
    state.counters["rows"] = t.browse->RowsLoaded();
    state.counters["vs_raw_sqlite"] = rawSeconds > 0 ? browseSeconds / rawSeconds : 0;
    state.counters["raw_page_ms"] = rawSeconds * 1000 / static_cast<double>(state.iterations());
    benchmark::DoNotOptimize(raw.Sink());
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"tracks", "order"});
    for (long tracks : {10000L, 100000L, 1000000L})
        for (long order = 0; order < 3; ++order) b->Args({tracks, order});
}
BENCHMARK(BrowsePageDown)->Apply(Sizes)->Unit(benchmark::kMillisecond);

void TrackSizes(benchmark::internal::Benchmark* b) { bench_sizes::ListingSizes(b, "tracks"); }

void BrowseJumpToEnd(benchmark::State& state) {
    TitleBrowse t(*Base(state).karaoke);
    bool bottom = true;
    for (auto _ : state) {
        t.browse->HandleScrollEvent(bottom ? shell::codes::ScrollBottom : shell::codes::ScrollTop);
        bottom = !bottom;
    }
    state.counters["rows"] = t.browse->RowsLoaded();
}
BENCHMARK(BrowseJumpToEnd)->Apply(TrackSizes)->Unit(benchmark::kMillisecond);

void BrowseThumbDrag(benchmark::State& state) {
    TitleBrowse t(*Base(state).karaoke);
    int position = 2;
    for (auto _ : state) {
        t.browse->FollowThumb(position);
        position = position % 98 + 2;  // 2..99: the table's stops
    }
    state.counters["rows"] = t.browse->RowsLoaded();
}
BENCHMARK(BrowseThumbDrag)->Apply(TrackSizes)->Unit(benchmark::kMillisecond);

long g_sum = 0;
fw::File* g_file = nullptr;
void Action() { g_sum += g_file->Rec<shell::KaraokeRec>().DiskTrackNo; }

void ProgressPassAt25PerTick(benchmark::State& state) {
    fw::File& f = *Base(state).karaoke;
    g_file = &f;
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
BENCHMARK(ProgressPassAt25PerTick)->Apply(TrackSizes)->Unit(benchmark::kMillisecond);

void PlainLoop(benchmark::State& state) {
    fw::File& f = *Base(state).karaoke;
    g_file = &f;
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
BENCHMARK(PlainLoop)->Apply(TrackSizes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
