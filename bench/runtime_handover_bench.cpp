// Cost of the fiber hand-over: one event from a Qt signal to a thread's
// ACCEPT and back to the Qt loop (target: under 20 us), and the pacing
// overhead of one EVENT:Timer slice of a progress-style loop with the
// default interval (target: under 50 us, so 100,000 records at 25 per
// tick cost under 0.2 s of pacing).
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>

#include "platform/runtime/scheduler.h"
#include "platform/ui/events.h"
#include "platform/ui/layout.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace {

fw::WindowLayout BenchWindow(int timer) {
    std::string text = "window BENCH\nat 0 0 100 40\n";
    if (timer) text += "timer " + std::to_string(timer) + "\n";
    text += "control ?GO button\n text \"Go\"\n at 4 4 40 14\n";
    return fw::ParseLayout(text, "bench");
}

// A thread that counts its events until its window closes.
struct Counter {
    long accepted = 0;
    long timers = 0;
    bool done = false;
};

void RunUntil(const std::function<bool()>& condition) {
    while (!condition()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void BM_SignalToAcceptAndBack(benchmark::State& state) {
    Counter c;
    fw::START([&c] {
        fw::Window w(BenchWindow(0));
        w.Open();
        while (fw::ACCEPT())
            if (fw::EVENT() == fw::Event::Accepted) ++c.accepted;
        c.done = true;
    });
    RunUntil([] { return fw::TopWindow(1) != nullptr; });
    fw::Window* w = fw::TopWindow(1);
    auto* button = qobject_cast<QAbstractButton*>(w->Find("?GO")->Widget());
    RunUntil([w] { return !w->HasPending(fw::Event::OpenWindow) && !fw::runtime::HasReady(); });
    for (auto _ : state) {
        long before = c.accepted;
        emit button->clicked();  // the signal handler only queues the event
        QCoreApplication::sendPostedEvents();  // the scheduler resumes the thread
        if (c.accepted != before + 1) RunUntil([&] { return c.accepted == before + 1; });
    }
    w->Post(fw::Event::CloseWindow);
    RunUntil([&] { return c.done; });
    state.counters["us_per_event"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SignalToAcceptAndBack)->Unit(benchmark::kMicrosecond);

void BM_TimerSliceOverhead(benchmark::State& state) {
    Counter c;
    fw::START([&c] {
        fw::Window w(BenchWindow(1));  // the default, idle interval
        w.Open();
        while (fw::ACCEPT())
            if (fw::EVENT() == fw::Event::Timer) ++c.timers;  // an empty slice
        c.done = true;
    });
    RunUntil([&] { return c.timers > 0; });
    for (auto _ : state) {
        long before = c.timers;
        RunUntil([&] { return c.timers > before; });
    }
    fw::TopWindow(1)->Post(fw::Event::CloseWindow);
    RunUntil([&] { return c.done; });
}
BENCHMARK(BM_TimerSliceOverhead)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
