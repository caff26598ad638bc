#pragma once
// Display All Song Tracks on Selected Disc: every track of the song-base
// disc whose unique disc ID is in KAR (its brand in BRA), in track order,
// those whose title and artist are already in the open song book in red.
// A view: nothing is written. Runs on the caller's thread; ActionOutcome 2,
// or 1 when a track was selected (RequestedAction 4).

#include <cstdint>

namespace songbase {

void BrowseSongBaseDiscTracks();

// The colours of a track already in the open book: red text, normal and selected.
inline constexpr std::int32_t kDuplicateTrackColor = 0x0000FF;

}  // namespace songbase
