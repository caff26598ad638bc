// songbase_gen: makes a Main SongBase of invented data.
//   songbase_gen [--seed N] [--tracks N] [--benchmark] [--folder DIR]
// --benchmark is --tracks 300000. With --folder it writes the seven data
// files into DIR (replacing any there); it prints what it made.

#include "tools/songbase_gen/generator/data_file_sink.h"
#include "tools/songbase_gen/generator/songbase_generator.h"

#include "platform/text/codepage.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

// Counts the records of each file.
class CountingSink : public songbase_gen::FileRecordSink {
public:
    std::map<std::string, long> counts;  // by file name

protected:
    void Write(const shell::FileEntry& file, const void*) override { ++counts[file.fixedName]; }
};

bool ParseNumber(const char* text, unsigned long long max, unsigned long long& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtoull(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && text[0] != '-' && out <= max;
}

int Usage() {
    std::fprintf(stderr, "usage: songbase_gen [--seed N] [--tracks N] [--benchmark] [--folder DIR]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    songbase_gen::Options options;
    options.tracks = songbase_gen::kDemoTracks;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        unsigned long long n = 0;
        if (arg == "--folder" && i + 1 < argc) {
            folder = argv[++i];
        } else if (arg == "--benchmark") {
            options.tracks = songbase_gen::kBenchmarkTracks;
        } else if ((arg == "--seed" || arg == "--tracks") && i + 1 < argc) {
            if (!ParseNumber(argv[++i], arg == "--seed" ? ~0ull : 100000000ull, n)) {
                std::fprintf(stderr, "songbase_gen: %s needs a number, not \"%s\"\n", arg.c_str(), argv[i]);
                return 2;
            }
            if (arg == "--seed") options.seed = n;
            else options.tracks = static_cast<int>(n);
        } else {
            return Usage();
        }
    }
    if (const std::string error = songbase_gen::Validate(options); !error.empty()) {
        std::fprintf(stderr, "songbase_gen: %s\n", error.c_str());
        return 2;
    }
    CountingSink sink;
    songbase_gen::Generate(options, sink);
    if (!folder.empty()) {
        // File names are the program's text.
        const std::string programFolder = fw::Utf8ToAnsi(folder);
        if (fw::AnsiToUtf8(programFolder) != folder) {
            std::fprintf(stderr, "songbase_gen: the folder name %s has characters the program cannot use\n",
                         folder.c_str());
            return 1;
        }
        songbase_gen::DataFileSongBase files(programFolder);
        songbase_gen::Generate(options, files);
        if (const std::string error = files.Finish(); !error.empty()) {
            std::fprintf(stderr, "songbase_gen: %s\n", error.c_str());
            return 1;
        }
        std::printf("Main SongBase written into %s\n", folder.c_str());
    }
    for (const auto& [name, count] : sink.counts) std::printf("%-12s %8ld records\n", name.c_str(), count);
    return 0;
}
