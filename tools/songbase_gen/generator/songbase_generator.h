#pragma once
// Makes a Main SongBase of invented brands, discs and tracks: the demo song
// base of the installer and, with a larger size, the benchmark song base.
// The same options and seed always give the same records in the same order.
//
// Shape: the brands of the word list (one DMake record and one MAKEID code
// each, plus the code "CU" for a host's own custom discs); discs numbered
// per brand, their unique disc ID starting with the brand's code ("AV4127");
// exactly `tracks` tracks, minTracksPerDisc to maxTracksPerDisc on each
// disc; the genres; the distinct titles and artists of the tracks as the
// title and artist search lists. Songs are drawn from a pool with a few
// popular ones recorded by many brands, as in a real song base.

#include "tools/songbase_gen/generator/songbase_sink.h"

#include <cstdint>
#include <string>

namespace songbase_gen {

struct Options {
    std::uint64_t seed = 1;
    int tracks = 40000;
    int minTracksPerDisc = 8;
    int maxTracksPerDisc = 18;
};

inline constexpr int kDemoTracks = 40000;
inline constexpr int kBenchmarkTracks = 300000;

// Empty when the options can be generated, else what is wrong with them.
std::string Validate(const Options& options);

struct Summary {
    int brands = 0;
    int brandCodes = 0;
    int discs = 0;
    int tracks = 0;
    int titles = 0;
    int artists = 0;
    int genres = 0;
};

// Writes the whole song base into the sink: brand codes, brands and genres
// first, then each disc followed by its tracks, then the title and artist
// search lists. Throws std::invalid_argument for options Validate refuses.
Summary Generate(const Options& options, SongBaseSink& sink);

}  // namespace songbase_gen
