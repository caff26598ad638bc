// AutoUpdate's install path on a Main SongBase of benchmark size (a
// MAIN.TPS of about 50 MB): downloading its update file from a loopback
// server, inflating it beside the live file, checking the staged file and
// swapping it in (install_mb_per_s, MB of installed file per second); and
// the block inflating alone beside a bare zlib loop over the same blocks
// (inflate_vs_zlib, ours divided by zlib's time, in the same run).
#include <QApplication>
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "exchange/autoupdate_files.h"
#include "exchange/download_file.h"
#include "exchange/install_journal.h"
#include "exchange/uncompress_update_file.h"
#include "exchange/update_file.h"
#include "platform/ui/testing/driver.h"
#include "shell/data_layer.h"
#include "shell/window_runtime.h"
#include "tests/exchange/loopback_server.h"
#include "tools/songbase_gen/generator/data_file_sink.h"
#include "tools/songbase_gen/generator/songbase_generator.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Channel {
    fs::path root;
    std::string mainTps;  // the new MAIN.TPS
    std::string packed;   // its update file
    LoopbackServer server;
    Channel() {
        char name[] = "/tmp/autoupdate_bench_XXXXXX";
        root = ::mkdtemp(name);
        fs::create_directories(root / "new");
        fs::create_directories(root / "install");
        songbase_gen::Options options;
        options.tracks = songbase_gen::kBenchmarkTracks;
        songbase_gen::DataFileSongBase files((root / "new").string());
        songbase_gen::Generate(options, files);
        files.Finish();
        mainTps = Slurp(root / "new" / "MAIN.TPS");
        packed = exchange::MakeUpdateFile(mainTps);
        std::ofstream(root / "install" / "MAIN.TPS", std::ios::binary) << Slurp(root / "new" / "MAIN.TPS");
        server.Serve("/update/01/MAIN.Z", packed);
    }
    ~Channel() { fs::remove_all(root); }
};

Channel& TheChannel() {
    static Channel c;
    return c;
}

void BM_InstallDataFile(benchmark::State& state) {
    Channel& c = TheChannel();
    const std::string install = (c.root / "install").string();
    fw::testing::Driver d;
    bool ok = true;
    for (auto _ : state) {
        d.Start([&] {
            exchange::DownloadTotalSize = static_cast<std::int32_t>(c.packed.size());
            exchange::DownloadConvertLineEnds = 0;
            exchange::AutoUpdateStatusText = "Downloading Update File: MAIN.Z";
            exchange::DownloadReport r = exchange::DownloadFileReport(c.server.Url("/update/01/MAIN.Z"), install + "/MAIN.Z");
            ok = r.status == exchange::DownloadStatus::Complete && r.bytes == c.packed.size();
            ok = ok && exchange::UncompressUpdateFile(install + "/MAIN.Z", install + "/MAIN.TPS.new",
                                                      exchange::InflateCapFor(c.packed.size())) == 1;
            long records = 0;
            ok = ok && exchange::CheckStagedDataFile("MAIN.TPS", install + "/MAIN.TPS.new", records).empty();
            ok = ok && exchange::SwapInStagedFiles(install, {{"MAIN.TPS", "MAIN.TPS.new", "MAIN.BAK"}}).ok;
        });
        if (!ok) {
            state.SkipWithError("the install failed");
            break;
        }
    }
    state.counters["install_mb_per_s"] = benchmark::Counter(
        static_cast<double>(c.mainTps.size()) * static_cast<double>(state.iterations()) / 1e6,
        benchmark::Counter::kIsRate);
}

// The bare loop: headers read as plain numbers, zlib's uncompress, nothing else.
std::uint64_t BareZlib(const std::string& file, std::vector<unsigned char>& out) {
    std::uint64_t total = 0;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t compressed = std::strtoul(file.substr(pos, 15).c_str(), nullptr, 10);
        const bool more = file[pos + 34] == 'X';
        uLongf destLen = static_cast<uLongf>(out.size());
        uncompress(out.data(), &destLen, reinterpret_cast<const Bytef*>(file.data() + pos + 35), compressed);
        total += destLen;
        pos += 35 + compressed;
        if (!more) return total;
    }
}

void BM_InflateBlocks(benchmark::State& state) {
    Channel& c = TheChannel();
    std::vector<unsigned char> out(exchange::kMaxBlockData);
    double ours = 0, bare = 0;
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        auto t0 = Clock::now();
        std::uint64_t sum = 0;
        exchange::InflateOutcome o = exchange::InflateBytes(
            c.packed, [&](std::string_view b) { sum += static_cast<unsigned char>(b[0]); return true; }, 1ull << 32);
        auto t1 = Clock::now();
        std::uint64_t bytes = BareZlib(c.packed, out);
        auto t2 = Clock::now();
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(bytes);
        if (o.result != exchange::InflateResult::Ok || bytes != c.mainTps.size()) {
            state.SkipWithError("inflating failed");
            break;
        }
        ours += std::chrono::duration<double>(t1 - t0).count();
        bare += std::chrono::duration<double>(t2 - t1).count();
    }
    state.counters["inflate_vs_zlib"] = bare > 0 ? ours / bare : 0;
    state.counters["inflate_mb_per_s"] = ours > 0 ? static_cast<double>(c.mainTps.size()) * state.iterations() / 1e6 / ours : 0;
}

BENCHMARK(BM_InstallDataFile)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();
BENCHMARK(BM_InflateBlocks)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    shell::ConnectWindowRuntime();
    shell::ConnectDataLayer();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
