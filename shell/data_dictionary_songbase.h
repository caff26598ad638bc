#pragma once
// The Main SongBase: the master list of manufacturers' discs, in seven files
// in the install folder. Every key is optional, case-insensitive and allows
// duplicates; the relations between the files are kept by the program:
//   KAR.UnqDiskID = DIS.UnqDiskID = SBK.UnqDiskID = SBD.UNQDISKID
//   KAR.MAKEID = DIS.MakeID = BRA.MakeID = SBD.MakeID
// A brand's two-character code (MAK.MAKEID) is the first two characters of
// its discs' unique disc IDs.

#include "shell/data_dictionary_file_entry.h"

#include "platform/data/record.h"
#include "platform/text/fixed_string.h"

#include <cstdint>

namespace shell {

// KARAOKE (KAR), MAIN.TPS: one track of a manufacturer's disc.
struct KaraokeRec {
    fw::FString<40> Title;
    fw::FString<40> Artist;
    fw::FString<10> DISKID;     // the disc number as printed on the disc
    std::uint16_t DiskTrackNo;
    std::int32_t MAKEID;        // brand number (BRA.MakeID)
    fw::FString<15> UnqDiskID;  // unique disc ID: joins tracks, discs and song-book listings
    static const fw::RecordDecl& Decl();
};

// Discs (DIS), DISCS.TPS: one manufacturer's disc.
struct DiscsRec {
    std::int32_t MakeID;  // brand number
    fw::FString<10> DISKID;
    fw::FString<15> UnqDiskID;
    static const fw::RecordDecl& Decl();
};

// DMake (BRA), DMAKE.TPS: one brand or series.
struct DMakeRec {
    fw::FString<40> MAKE;
    std::int32_t MakeID;
    static const fw::RecordDecl& Decl();
};

// MAKEID (MAK), MAKEID.TPS: one brand code. Never created by the program.
struct MakeIdRec {
    fw::FString<2> MAKEID;  // stored in song-book listings (SBK.MAKEID) and discs (SBD.MAKETYPE)
    fw::FString<30> MAKEDESC;
    static const fw::RecordDecl& Decl();
};

// sArtist (SAR), SARTIST.TPS: the artist search list.
struct SArtistRec {
    fw::FString<25> Artist;
    static const fw::RecordDecl& Decl();
};

// sTitle (STI), STITLE.TPS: the title search list.
struct STitleRec {
    fw::FString<40> Title;
    static const fw::RecordDecl& Decl();
};

// Genre (GEN), GENRE.TPS: the genre list.
struct GenreRec {
    fw::FString<40> GENRE;
    static const fw::RecordDecl& Decl();
};

const FileEntry& KaraokeFile();
const FileEntry& DiscsFile();
const FileEntry& DMakeFile();
const FileEntry& MakeIdFile();
const FileEntry& SArtistFile();
const FileEntry& STitleFile();
const FileEntry& GenreFile();

// The current thread's record buffers (KAR, DIS ... in program code).
KaraokeRec& KaraokeBuffer();
DiscsRec& DiscsBuffer();
DMakeRec& DMakeBuffer();
MakeIdRec& MakeIdBuffer();
SArtistRec& SArtistBuffer();
STitleRec& STitleBuffer();
GenreRec& GenreBuffer();

}  // namespace shell
