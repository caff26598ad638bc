#pragma once
// A song book: two files with one base name, the listings (.2bk) and the
// discs (.2bd). Every key is optional and case-insensitive; SBK:KUnqDiskID
// (one listing per disc and track) and SBD:KALTDISKID (one custom disc ID
// per book) are unique.

#include "shell/data_dictionary_file_entry.h"

#include "platform/data/record.h"
#include "platform/text/fixed_string.h"

#include <cstdint>

namespace shell {

// SongBook (SBK), .2bk: one listing.
struct SongBookRec {
    fw::FString<40> Title;
    fw::FString<40> Artist;
    fw::FString<15> UnqDiskID;  // the manufacturer's unique disc ID, the link to SBDiscs
    std::uint32_t DISKTRACKNO;
    fw::FString<40> GENRE;
    fw::FString<1> Duet;
    fw::FString<1> PRINT;       // "X" leaves the listing out of the printed book
    std::int32_t DateAdded;     // DATE
    fw::FString<20> LOCATION;
    fw::FString<2> MAKEID;      // brand code (MAK.MAKEID)
    static const fw::RecordDecl& Decl();
};

// SBDiscs (SBD), .2bd: one disc of the book.
struct SBDiscsRec {
    fw::FString<15> UNQDISKID;
    fw::FString<2> MAKETYPE;   // brand code printed for the disc
    std::int32_t MakeID;       // brand number (BRA.MakeID)
    fw::FString<15> ALTDISKID; // the host's own custom disc ID
    static const fw::RecordDecl& Decl();
};

inline constexpr const char* kSongBookExtension = ".2bk";
inline constexpr const char* kSBDiscsExtension = ".2bd";

const FileEntry& SongBookFile();
const FileEntry& SBDiscsFile();

// The current thread's record buffers (SBK, SBD in program code).
SongBookRec& SongBookBuffer();
SBDiscsRec& SBDiscsBuffer();

}  // namespace shell
