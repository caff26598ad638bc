// The title pick list over 100,000 titles (the benchmark song base's title
// search list, filled up to exactly that many), in a real window run
// through the test driver on the offscreen platform:
//   - open_ms: the window opens, the titles are read from the sTitle file
//     into the pick list, the combo gets its model and its drop-down is
//     shown (the kept list forgotten first, so every round reads the file);
//   - open_kept_ms: the same while the list is kept (a second window);
//   - keystroke_ms: one more letter typed into the combo, until the
//     completer has narrowed its offers and drawn them.
#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "platform/ui/control.h"
#include "platform/ui/testing/driver.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "platform/ui/widgets/pick_list_model.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_files.h"
#include "songbase/song_base_pick_lists.h"
#include "tools/songbase_gen/generator/songbase_generator.h"
#include "window_bench_support.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

constexpr int kTitles = 100000;
constexpr const char* kWindow = "P1$ADDSONGTRACKS";
constexpr const char* kCombo = "?SBK:TITLE";

struct TitleFile {
    std::string dir;
    TitleFile() {
        char tmpl[] = "/tmp/cv_pick_list_bench_XXXXXX";
        dir = mkdtemp(tmpl);
        shell::InitialiseSharedGlobals();
        shell::SetSongBaseFileNames(dir);
        songbase_gen::MemorySongBase base;
        songbase_gen::Options o;
        o.tracks = songbase_gen::kBenchmarkTracks;
        songbase_gen::Generate(o, base);
        fw::File& titles = shell::sTitle();
        fw::CREATE(titles);
        Check(fw::ERRORCODE() == 0, "create sTitle");
        fw::OPEN(titles, fw::ReadWrite | fw::DenyNone);
        fw::STREAM(titles);
        std::set<std::string> seen;
        auto add = [&](const std::string& title) {
            if (static_cast<int>(seen.size()) >= kTitles || !seen.insert(fw::UpperText(title)).second) return;
            titles.Rec<shell::STitleRec>().Title = title;
            fw::ADD(titles);
            Check(fw::ERRORCODE() == 0, "add a title");
        };
        for (const shell::STitleRec& t : base.titles) add(t.Title.Str());
        // More titles than the generator invents, spread over the same first
        // letters: its titles again as other takes.
        for (int take = 2; static_cast<int>(seen.size()) < kTitles; ++take)
            for (const shell::STitleRec& t : base.titles)
                add(std::string(t.Title.Clip().substr(0, 28)) + " (Take " + std::to_string(take) + ")");
        fw::FLUSH(titles);
        fw::CLOSE(titles);
    }
    ~TitleFile() { std::filesystem::remove_all(dir); }
};

TitleFile* g_file = nullptr;
TitleFile& TheFile() {
    if (!g_file) g_file = new TitleFile;
    return *g_file;
}

// A window with the title combo and its pick list, as Add Song Tracks shows it.
void TitlePickWindow() {
    shell::FileUse titles(shell::STitleFile());
    fw::FString<40> title;
    fw::Window window(kWindow);
    window.Use(kCombo, title);
    window.Open();
    fw::SetPickList(kCombo, songbase::SongBaseTitles());
    fw::DISPLAY();
    while (fw::ACCEPT()) {
    }
}

QComboBox* Combo(fw::testing::Driver& d) {
    fw::Window* w = d.FindWindow(kWindow);
    fw::Control* c = w ? w->Find(kCombo) : nullptr;
    return c ? qobject_cast<QComboBox*>(c->Widget()) : nullptr;
}

void Open(benchmark::State& state, bool kept) {
    TheFile();
    fw::testing::Driver d;
    int rows = 0;
    double total = 0;
    for (auto _ : state) {
        if (!kept) songbase::ForgetSongBasePickLists();
        const Clock::time_point start = Clock::now();
        d.Start(TitlePickWindow);
        QComboBox* combo = Combo(d);
        if (!combo) {
            state.SkipWithError("no window");
            break;
        }
        combo->showPopup();
        combo->view()->repaint();
        total += Ms(Clock::now() - start);
        state.PauseTiming();
        rows = combo->count();
        combo->hidePopup();
        d.CloseWindow(kWindow);
        state.ResumeTiming();
    }
    state.counters[kept ? "open_kept_ms" : "open_ms"] = total / static_cast<double>(state.iterations());
    state.counters["rows"] = rows;
}

void OpenTitlePickList(benchmark::State& state) { Open(state, false); }
void OpenKeptTitlePickList(benchmark::State& state) { Open(state, true); }

void TypeOneMoreLetter(benchmark::State& state) {
    TheFile();
    fw::testing::Driver d;
    d.Start(TitlePickWindow);
    QComboBox* combo = Combo(d);
    if (!combo) {
        state.SkipWithError("no window");
        return;
    }
    QLineEdit* edit = combo->lineEdit();
    auto* completer = dynamic_cast<fw::ui::PickListCompleter*>(edit->completer());
    if (!completer) {
        state.SkipWithError("no pick-list completer");
        return;
    }
    const std::string starts[] = {"", "L", "Lo", "S", "Th", "The", "Ca"};
    const char next[] = {'T', 'o', 'v', 'e', 'e', ' ', 'n'};
    int offered = 0;
    std::size_t round = 0;
    double total = 0;
    int shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::size_t i = round++ % std::size(starts);
        edit->setText(QString::fromStdString(starts[i]));
        completer->Narrow(edit->text());
        state.ResumeTiming();
        const Clock::time_point start = Clock::now();
        const QChar c = QLatin1Char(next[i]);
        const int key = c.toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(edit, &release);
        if (completer->popup()->isVisible()) {
            completer->popup()->repaint();
            ++shown;
        }
        total += Ms(Clock::now() - start);
        offered += completer->Offered();
    }
    state.counters["keystroke_ms"] = total / static_cast<double>(state.iterations());
    state.counters["offered_avg"] = static_cast<double>(offered) / static_cast<double>(state.iterations());
    state.counters["popup_shown"] = static_cast<double>(shown) / static_cast<double>(state.iterations());
    d.CloseWindow(kWindow);
}

}  // namespace

BENCHMARK(OpenTitlePickList)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(OpenKeptTitlePickList)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(TypeOneMoreLetter)->Unit(benchmark::kMillisecond)->Iterations(300);

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv, [] { delete g_file; });
}
