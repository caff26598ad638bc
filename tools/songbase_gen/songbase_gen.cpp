// songbase_gen: makes a Main SongBase of invented data.
//   songbase_gen [--seed N] [--tracks N] [--benchmark]
// --benchmark is --tracks 300000. It prints what it made.

#include "tools/songbase_gen/generator/songbase_generator.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A sink that only counts: the generator's summary says what was made.
class NoSink : public songbase_gen::SongBaseSink {
public:
    void AddBrandCode(const shell::MakeIdRec&) override {}
    void AddBrand(const shell::DMakeRec&) override {}
    void AddGenre(const shell::GenreRec&) override {}
    void AddDisc(const shell::DiscsRec&) override {}
    void AddTrack(const shell::KaraokeRec&) override {}
    void AddTitle(const shell::STitleRec&) override {}
    void AddArtist(const shell::SArtistRec&) override {}
};

bool ParseNumber(const char* text, unsigned long long max, unsigned long long& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtoull(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && text[0] != '-' && out <= max;
}

int Usage() {
    std::fprintf(stderr, "usage: songbase_gen [--seed N] [--tracks N] [--benchmark]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    songbase_gen::Options options;
    options.tracks = songbase_gen::kDemoTracks;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        unsigned long long n = 0;
        if (arg == "--benchmark") {
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
    NoSink sink;
    const songbase_gen::Summary s = songbase_gen::Generate(options, sink);
    std::printf("brands %d, brand codes %d, discs %d, tracks %d, titles %d, artists %d, genres %d\n", s.brands,
                s.brandCodes, s.discs, s.tracks, s.titles, s.artists, s.genres);
    return 0;
}
