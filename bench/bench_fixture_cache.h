#pragma once
// Benchmark fixtures that take long to make (a song base or a book of up to
// 1,000,000 records) are made once and kept between runs, in a private
// folder: $CV_BENCH_CACHE, else cv-bench-cache-<uid> in the temporary folder
// the program was started with ($TMPDIR or /tmp), readable by its owner
// only. Each fixture is a folder named for what it holds: its maker's name,
// a version the maker raises when it makes something else, and the size. It
// is made in a folder beside it and renamed into place only when complete,
// so a run stopped midway leaves nothing a later run would take for a
// fixture.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace bench_cache {

inline std::string CacheRoot() {
    if (const char* set = std::getenv("CV_BENCH_CACHE"); set && *set) return set;
    // The program's own temporary folder goes with it; the cache lives in the
    // one it was started with.
    const char* tmp = std::getenv("CV_OUTER_TMPDIR");
    if (!tmp || !*tmp) tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/cv-bench-cache-" + std::to_string(getuid());
}

// The folder of the fixture `name` (e.g. "songbook-v1-100000"), made by
// make(folder) when the cache does not hold it yet.
inline std::string CachedFixture(const std::string& name, const std::function<void(const std::string&)>& make) {
    namespace fs = std::filesystem;
    const std::string root = CacheRoot();
    std::error_code ec;
    fs::create_directories(root, ec);
    chmod(root.c_str(), 0700);
    const std::string dir = root + "/" + name;
    if (fs::is_directory(dir, ec)) return dir;
    const std::string making = dir + ".making-" + std::to_string(getpid());
    fs::remove_all(making, ec);
    fs::create_directories(making, ec);
    std::fprintf(stderr, "making the fixture %s (kept for later runs)\n", dir.c_str());
    make(making);
    fs::rename(making, dir, ec);
    if (ec) {
        // Another run made it meanwhile: keep that one.
        fs::remove_all(making, ec);
    }
    return dir;
}

}  // namespace bench_cache
