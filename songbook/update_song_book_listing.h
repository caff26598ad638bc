#pragma once
// The song-book listing form: inserts, changes or deletes one listing of
// the open book for the song-book window's lists (a record form,
// shell/record_form.h).
//
// The caller has SongBook and SBDiscs open, the highlighted listing in SBK
// (blank for an empty book) and its disc in SBD, and the request in
// shell::RequestedAction() (1 insert, 2 change, 3 delete); the outcome is in
// shell::ActionOutcome() (1 written, 2 cancelled) and the written listing
// stays in SBK.
//
// An insert always starts a new disc: the Mfg. Disc ID must not be in
// SBDiscs yet, and the disc and the listing are added in one transaction
// after every check has passed, so a failure leaves neither behind. The new
// disc takes its brand (SBD:MAKETYPE, SBD:MakeID) from the disc in SBD when
// the form is called. A change writes only title, artist, track, date
// added, brand code and omit mark, and only when one of them changed. A
// delete that leaves the disc without listings removes the disc with it, in
// the same transaction.

#include "songbook/song_book_lists.h"  // kDisclessDiscId

#include <string_view>

namespace shell {
struct FormMemory;
}

namespace songbook {

inline constexpr std::string_view kListingFormWindow = "P1$LISTINGFORM";
inline constexpr std::string_view kListingFormHelpTopic = "EditingSongTracks.htm";

inline constexpr std::string_view kListingAddedText = "SongBook Listing will be Added";
inline constexpr std::string_view kListingChangedText = "SongBook Listing will be Changed";

// The insert's own refusals, shown without caption or icon; the form stays open.
inline constexpr std::string_view kBlankMfgDiscIdText = "Please enter a Mfg. Disc ID.";
inline constexpr std::string_view kMfgDiscIdExistsText =
    "Invalid Mfg. Disc ID, ID Already Exists.|Please enter an unused Mfg. ID.";
inline constexpr std::string_view kDisclessAltDiscIdText =
    "The Alternate Disc ID * is kept for DiscLess Tracks.|Please enter another Alternate ID.";
inline constexpr std::string_view kAltDiscIdExistsText =
    "Invalid Alternate Disc ID, ID Already Exists.|Please enter an unused Alternate ID.";

void UpdateSongBookListing();
// The same form for the tracks of one disc: an insert adds a track to the
// disc SBK.UnqDiskID names, which is in the book already, so the disc-ID
// entries stay disabled and only the disc-and-track key is checked.
void UpdateDiscTrackListing();

// What the form keeps for the program's run: the listing saved last (the
// ditto key's source) and where the form first opened.
shell::FormMemory& ListingFormMemory();

}  // namespace songbook
