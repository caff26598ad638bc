#include "songbook/song_book_lists.h"

namespace songbook {

namespace {

const SongBookListDecl kTitle{
    SongBookListKind::Title, "BRW1", "?LISTTITLE", "SongBook", "SBK:KTITLE", "SBDiscs", "SBD:KUNQDISKID",
    {"SBK:Title", "SBK:Artist", "SBD:ALTDISKID", "SBK:DISKTRACKNO", "SBK:PRINT", "SBK:MAKEID", "SBK:DateAdded",
     "SBD:UNQDISKID"},
    "SBK:Title", ListingLookup::ByDiscAndTrack, "SongBook", true, "SongBook",
    "?INSERT", "?CHANGE", "?DELETE", "?SELECT", "?BUTTON17", "SBK:Title", "SBK:KTITLE"};

const SongBookListDecl kArtist{
    SongBookListKind::Artist, "BRW7", "?LISTARTIST", "SongBook", "SBK:KARTIST", "SBDiscs", "SBD:KUNQDISKID",
    {"SBK:Artist", "SBK:Title", "SBD:ALTDISKID", "SBK:DISKTRACKNO", "SBK:PRINT", "SBK:MAKEID", "SBK:DateAdded",
     "SBD:UNQDISKID"},
    "SBK:Artist", ListingLookup::ByDiscAndTrack, "SongBook", false, "SongBook",
    "?INSERT:2", "?CHANGE:2", "?DELETE:2", "?SELECT:2", "?BUTTON17:2", "SBK:Artist", "SBK:KARTIST"};

const SongBookListDecl kDisc{
    SongBookListKind::Disc, "BRW8", "?LISTDISCID", "SBDiscs", "SBD:KALTDISKID", "SongBook", "SBK:KUnqDiskID",
    {"SBD:ALTDISKID", "SBK:DISKTRACKNO", "SBK:Title", "SBK:Artist", "SBK:PRINT", "SBK:MAKEID", "SBK:DateAdded"},
    "SBD:ALTDISKID", ListingLookup::None, "SBDiscs", false, "SBDiscs",
    "?INSERT:3", "?CHANGE:3", "?DELETE:3", "?SELECT:3", "?BUTTON17:3", "SBD:ALTDISKID", "SBD:KALTDISKID"};

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
