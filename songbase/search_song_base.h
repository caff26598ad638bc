#pragma once
// Search Main SongBase: the song titles or artist names of the search
// lists that hold a text, and for the highlighted one every track with
// exactly that title or artist, each with its brand, disc and track and,
// on the artist side, how many of its disc's tracks the open book has
// (the DUP-Finder). One instance runs at a time: a second start brings the
// running window forward and ends. Started on a thread of its own by the
// song-book window.

#include "platform/text/fixed_string.h"

#include <cstdint>

namespace songbase {

void SearchSongBase();

// The window's shared globals: the search text (bound as "SearchField")
// and the list searched at the last Search (0 song titles, 1 artists).
inline fw::FString<40> SearchField;
inline std::uint16_t SEARCHBY = 0;

// The DUP-Finder bands: the DUP cell's background, normal and selected, for
// a count of a disc's tracks already in the open book.
struct DupColors {
    std::int32_t normalBg;
    std::int32_t selectedBg;
};
DupColors DupBand(int count);

}  // namespace songbase
