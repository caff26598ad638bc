// Linked into every test and benchmark program: before anything else runs,
// the program gets a private home, settings, data and cache folder and a
// temporary folder of its own, all under one new folder in the system's
// temporary folder, which is removed when the program ends. So no test
// reads the user's settings or leaves anything in the user's home.
//
// A program started by a test (another process of the same test program, a
// helper) inherits the folders and leaves them to the program that made
// them.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr const char* kMarker = "CV_PRIVATE_FOLDERS";

std::string& Root() {
    static std::string root;
    return root;
}

pid_t& Owner() {
    static pid_t owner = 0;
    return owner;
}

void RemoveRoot() {
    if (Owner() != ::getpid() || Root().empty()) return;
    std::error_code ec;
    fs::remove_all(Root(), ec);
}

__attribute__((constructor(101))) void MakePrivateFolders() {
    if (const char* inherited = std::getenv(kMarker); inherited && *inherited) return;
    const char* tmp = std::getenv("TMPDIR");
    const std::string outer = tmp && *tmp == '/' ? tmp : "/tmp";
    // Kept for what must outlive one run, such as the benchmarks' fixture cache.
    ::setenv("CV_OUTER_TMPDIR", outer.c_str(), 1);
    std::string pattern = outer + "/cv-test-XXXXXX";
    if (!::mkdtemp(pattern.data())) return;  // the program still runs, in the user's folders
    Root() = pattern;
    Owner() = ::getpid();
    const std::pair<const char*, const char*> folders[] = {
        {"HOME", "home"},           {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"},
        {"XDG_CACHE_HOME", "cache"}, {"XDG_STATE_HOME", "state"},   {"TMPDIR", "tmp"},
    };
    for (const auto& [variable, name] : folders) {
        const std::string path = pattern + "/" + name;
        std::error_code ec;
        fs::create_directories(path, ec);
        ::setenv(variable, path.c_str(), 1);
    }
    ::setenv(kMarker, pattern.c_str(), 1);
    std::atexit(RemoveRoot);
}

}  // namespace
