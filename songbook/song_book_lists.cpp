#include "songbook/song_book_lists.h"

namespace songbook {

namespace {

// Column pieces: width, justification, heading, picture; every column in
// the list colours.
#define CV_COLORS "E(800040H,0FFFFFFH,0FFFFFFH,800040H)"
#define CV_TITLE(w, j) #w j "|M~Title~@s40@" CV_COLORS
#define CV_ARTIST(w, j) #w j "|M~Artist~@s40@" CV_COLORS
#define CV_DISC(j) "32" j "|M~Disc ID~@s15@" CV_COLORS
#define CV_TRACK(j) "32" j "|M~Track~@n_10B@" CV_COLORS
#define CV_OMIT "21C|M~Omit?~@s1@" CV_COLORS
#define CV_MFG "5C|M~Mfg.~@s2@" CV_COLORS

constexpr std::string_view kTitleFormat = CV_TITLE(140, "L(2)") CV_ARTIST(135, "L(2)") CV_DISC("C") CV_TRACK("C") CV_OMIT CV_MFG;
constexpr std::string_view kArtistFormat = CV_ARTIST(135, "L(2)") CV_TITLE(140, "L(2)") CV_DISC("L(2)") CV_TRACK("L(2)") CV_OMIT CV_MFG;
constexpr std::string_view kDiscFormat = CV_DISC("C") CV_TRACK("L(2)") CV_TITLE(140, "L(2)") CV_ARTIST(135, "L(2)") CV_OMIT CV_MFG
    "0L(2)|M~Date Added~@d17@" CV_COLORS;

#undef CV_COLORS
#undef CV_TITLE
#undef CV_ARTIST
#undef CV_DISC
#undef CV_TRACK
#undef CV_OMIT
#undef CV_MFG

const SongBookListDecl kTitle{
    SongBookListKind::Title, "BRW1", "?LISTTITLE", "SongBook", "SBK:KTITLE", "SBDiscs", "SBD:KUNQDISKID",
    {"SBK:Title", "SBK:Artist", "SBD:ALTDISKID", "SBK:DISKTRACKNO", "SBK:PRINT", "SBK:MAKEID", "SBK:DateAdded",
     "SBD:UNQDISKID"},
    "SBK:Title", ListingLookup::ByDiscAndTrack, "SongBook", true, "SongBook",
    "?INSERT", "?CHANGE", "?DELETE", "?SELECT", "?BUTTON17", "SBK:Title", "SBK:KTITLE", kTitleFormat};

const SongBookListDecl kArtist{
    SongBookListKind::Artist, "BRW7", "?LISTARTIST", "SongBook", "SBK:KARTIST", "SBDiscs", "SBD:KUNQDISKID",
    {"SBK:Artist", "SBK:Title", "SBD:ALTDISKID", "SBK:DISKTRACKNO", "SBK:PRINT", "SBK:MAKEID", "SBK:DateAdded",
     "SBD:UNQDISKID"},
    "SBK:Artist", ListingLookup::ByDiscAndTrack, "SongBook", false, "SongBook",
    "?INSERT:2", "?CHANGE:2", "?DELETE:2", "?SELECT:2", "?BUTTON17:2", "SBK:Artist", "SBK:KARTIST", kArtistFormat};

const SongBookListDecl kDisc{
    SongBookListKind::Disc, "BRW8", "?LISTDISCID", "SBDiscs", "SBD:KALTDISKID", "SongBook", "SBK:KUnqDiskID",
    {"SBD:ALTDISKID", "SBK:DISKTRACKNO", "SBK:Title", "SBK:Artist", "SBK:PRINT", "SBK:MAKEID", "SBK:DateAdded"},
    "SBD:ALTDISKID", ListingLookup::None, "SBDiscs", false, "SBDiscs",
    "?INSERT:3", "?CHANGE:3", "?DELETE:3", "?SELECT:3", "?BUTTON17:3", "SBD:ALTDISKID", "SBD:KALTDISKID", kDiscFormat};

}  // namespace

const SongBookListDecl& SongBookList(SongBookListKind kind) {
    switch (kind) {
    case SongBookListKind::Artist: return kArtist;
    case SongBookListKind::Disc: return kDisc;
    case SongBookListKind::Title: break;
    }
    return kTitle;
}

const std::array<const SongBookListDecl*, 3>& SongBookLists() {
    static const std::array<const SongBookListDecl*, 3> lists{&kTitle, &kArtist, &kDisc};
    return lists;
}

}  // namespace songbook
