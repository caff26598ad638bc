#pragma once
// What the benchmarks that drive the program's windows share: the check
// of a set-up step, and main(): a private configuration and temporary
// folder (removed at the end; the fixture cache stays where it was), Qt on
// the offscreen platform (unless QT_QPA_PLATFORM says otherwise), the
// checked opens on the data layer, then the benchmarks; `cleanup` runs
// after them.

#include "bench_fixture_cache.h"
#include "platform/config/config_folder.h"
#include "platform/runtime/error_state.h"
#include "shell/data_layer.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

// Ends the benchmark with the data layer's error when a set-up step failed.
inline void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "set-up: %s: %s\n", what, fw::ERROR().c_str());
    std::exit(1);
}

inline int RunWindowBenchmarks(int argc, char** argv, const std::function<void()>& cleanup) {
    setenv("CV_BENCH_CACHE", bench_cache::CacheRoot().c_str(), 0);
    char tmpl[] = "/tmp/cv_bench_private_XXXXXX";
    const std::string own = mkdtemp(tmpl);
    std::filesystem::create_directories(own + "/tmp");
    setenv("TMPDIR", (own + "/tmp").c_str(), 1);
    fw::SetConfigFolder(own + "/config");
    struct Tidy {
        std::string own;
        ~Tidy() {
            std::error_code ec;
            std::filesystem::remove_all(own, ec);
        }
    } tidy{own};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    shell::ConnectDataLayer();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (cleanup) cleanup();
    return 0;
}
