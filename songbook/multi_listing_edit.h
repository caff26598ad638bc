#pragma once
// The multi-listing edits: every listing of the open book with the same
// title, artist or disc as the right-clicked one gets a new title, a new
// artist and/or the omit mark, in one progress pass.
//
// The song-book window sets shell::MultiEditField (1 title, 2 artist,
// 3 disc ID), leaves the listing in SBK and its disc in SBD, and calls
// SetupMultiListingEdit; when shell::DialogCancelled is 0 afterwards it
// calls the matching batch edit. A match is on the whole field, letter case
// ignored; each matching listing is changed once, even when the new title
// moves it in the pass's order. Cancel keeps what the finished slices
// changed.

#include "platform/text/fixed_string.h"

#include <cstdint>
#include <string_view>

namespace songbook {

// GLO:SBK:TITLE, GLO:SBK:ARTIST and the three GLO:BATCHCHANGE... flags.
struct MultiEditSettings {
    fw::FString<40> title;
    fw::FString<40> artist;
    std::uint8_t changeTitle = 0;
    std::uint8_t changeArtist = 0;
    std::uint8_t changeOmit = 0;
};
MultiEditSettings& MultiEdit();

inline constexpr std::string_view kMultiEditWindow = "P1$MULTIEDITSETUP";
inline constexpr std::string_view kMultiEditQuestion =
    "Are you sure you wish to continue|with this Multi-Listing Edit?";
inline constexpr std::string_view kMultiEditCaption = "CAUTION";

void SetupMultiListingEdit();
void BatchEditByTitle();
void BatchEditByArtist();
void BatchEditByDisc();

}  // namespace songbook
