#pragma once
// The record layouts of books written by the program's earlier versions,
// read (never written) when such a book is converted, and how each old
// record maps onto the current ones:
//   SongBook11 (.sbk, 121 bytes) and SBDiscs11 (.sbd, 34 bytes), the
//   earlier format's listings and discs;
//   SongBook15 (.2bk, 165 bytes), the listings of an older .2bk whose
//   track number was 16 bits.

#include "platform/data/file.h"
#include "platform/text/fixed_string.h"
#include "shell/data_dictionary_songbook.h"

#include <cstdint>
#include <memory>
#include <string>

namespace songbook {

struct SongBook11Rec {  // SBK1
    fw::FString<40> TITLE;
    std::int32_t DATEADDED;
    fw::FString<20> LOCATION;
    fw::FString<40> ARTIST;
    std::uint16_t DISKTRACKNO;
    fw::FString<15> UNQDISKID;
    static const fw::RecordDecl& Decl();
};

struct SBDiscs11Rec {  // SBD1
    fw::FString<15> UNQDISKID;
    std::int32_t MAKEID;
    fw::FString<15> ALTDISKID;
    static const fw::RecordDecl& Decl();
};

struct SongBook15Rec {  // SB5
    fw::FString<40> TITLE;
    fw::FString<40> ARTIST;
    fw::FString<15> UNQDISKID;
    std::uint16_t DISKTRACKNO;
    fw::FString<40> GENRE;
    fw::FString<1> DUET;
    fw::FString<1> PRINT;
    std::int32_t DATEADDED;
    fw::FString<20> LOCATION;
    fw::FString<2> MAKEID;
    static const fw::RecordDecl& Decl();
};

// Declares the three layouts to the data layer as earlier layouts, so a
// file of them opens read-only as it is. Harmless to call again.
void RegisterEarlierLayouts();

// A file of an earlier layout at `path` (the program's text), in record
// order, with a record buffer of its own (file.Rec<SongBook11Rec>()).
std::unique_ptr<fw::File> EarlierFile(const char* label, const fw::RecordDecl& layout, const std::string& path);

// An earlier-format listing with its disc (nullptr: the listing's disc
// record is missing) as the current listing and disc. brandCode is the
// first two characters of the disc ID when the Main SongBase knows the
// disc, else blank. A track number of 0 makes a discless track: disc "*",
// its track the numeric value of the old disc ID. A missing disc takes the
// disc ID as its custom ID. A listing with a blank disc ID and a track
// number can be on no disc of the book, so it becomes a discless track of
// that number (`repaired` says so).
struct MappedListing {
    shell::SongBookRec listing{};
    shell::SBDiscsRec disc{};
    std::string repaired;  // empty, or what was changed beyond the mapping
};
MappedListing MapSbkListing(const SongBook11Rec& old, const SBDiscs11Rec* oldDisc, std::string_view brandCode);

// A listing of the older .2bk layout, every field as it was.
shell::SongBookRec MapSongBook15Listing(const SongBook15Rec& old);

}  // namespace songbook
