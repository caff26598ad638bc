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
// changed. Another copy of the program may change the same listings
// meanwhile: each listing is read again just before it is written and
// written only if nobody changed it in between, else read and edited
// again; the edit ends by saying how many it could not change, if any.

#include "platform/text/fixed_string.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace fw {
class File;
}

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

// One listing's write in a batch edit, on the record just read from the
// book: read again under WATCH, still a match, changed and written; when
// another copy of the program wrote it in between (error 89) it is read
// and changed again, a few times.
enum class ListingEdit {
    Written,
    NoLongerMatches,  // deleted, or changed so that it is no match any more
    StillChanging,    // another copy kept changing it
    Failed,           // the write failed otherwise (the error is set)
};
ListingEdit EditListing(fw::File& book, const std::function<bool()>& matches, const std::function<void()>& change);

void SetupMultiListingEdit();
void BatchEditByTitle();
void BatchEditByArtist();
void BatchEditByDisc();

}  // namespace songbook
