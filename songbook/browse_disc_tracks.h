#pragma once
// Display Tracks on Disc: every listing of one disc of the open book, in
// track order (disc IDs that differ only in letter case count as the same
// disc), changed or deleted through the listing form; the Insert key adds a
// track to that disc.
//
// The caller leaves the listing in SBK (its disc ID chooses the disc) and
// the disc in SBD (its custom ID goes into the caption).

#include <string_view>

namespace songbook {

inline constexpr std::string_view kDiscTracksWindow = "P1$DISCTRACKS";
inline constexpr std::string_view kDiscTracksCaption = "Displaying All Tracks Found on Disc: ";

// Runs the window on the caller's thread; ActionOutcome is 2 afterwards.
void BrowseSongBookDiscTracks();

}  // namespace songbook
