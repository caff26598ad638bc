#include "songbook/earlier_layouts.h"

#include "platform/data/legacy_source.h"
#include "platform/data/record.h"
#include "platform/text/numbers.h"
#include "songbook/song_book_lists.h"

#include <cmath>

namespace songbook {

const fw::RecordDecl& SongBook11Rec::Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<SongBook11Rec>("SBK1")
                                        .Field("TITLE", &SongBook11Rec::TITLE)
                                        .Date("DATEADDED", &SongBook11Rec::DATEADDED)
                                        .Field("LOCATION", &SongBook11Rec::LOCATION)
                                        .Field("ARTIST", &SongBook11Rec::ARTIST)
                                        .Field("DISKTRACKNO", &SongBook11Rec::DISKTRACKNO)
                                        .Field("UNQDISKID", &SongBook11Rec::UNQDISKID)
                                        .Build();
    return d;
}

const fw::RecordDecl& SBDiscs11Rec::Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<SBDiscs11Rec>("SBD1")
                                        .Field("UNQDISKID", &SBDiscs11Rec::UNQDISKID)
                                        .Field("MAKEID", &SBDiscs11Rec::MAKEID)
                                        .Field("ALTDISKID", &SBDiscs11Rec::ALTDISKID)
                                        .Build();
    return d;
}

const fw::RecordDecl& SongBook15Rec::Decl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<SongBook15Rec>("SB5")
                                        .Field("TITLE", &SongBook15Rec::TITLE)
                                        .Field("ARTIST", &SongBook15Rec::ARTIST)
                                        .Field("UNQDISKID", &SongBook15Rec::UNQDISKID)
                                        .Field("DISKTRACKNO", &SongBook15Rec::DISKTRACKNO)
                                        .Field("GENRE", &SongBook15Rec::GENRE)
                                        .Field("DUET", &SongBook15Rec::DUET)
                                        .Field("PRINT", &SongBook15Rec::PRINT)
                                        .Date("DATEADDED", &SongBook15Rec::DATEADDED)
                                        .Field("LOCATION", &SongBook15Rec::LOCATION)
                                        .Field("MAKEID", &SongBook15Rec::MAKEID)
                                        .Build();
    return d;
}

void RegisterEarlierLayouts() {
    fw::RegisterEarlierLayout(SongBook11Rec::Decl());
    fw::RegisterEarlierLayout(SBDiscs11Rec::Decl());
    fw::RegisterEarlierLayout(SongBook15Rec::Decl());
}

std::unique_ptr<fw::File> EarlierFile(const char* label, const fw::RecordDecl& layout, const std::string& path) {
    RegisterEarlierLayouts();
    fw::FileDecl d;
    d.label = label;
    d.record = &layout;
    d.name = fw::FixedName(path);
    return std::make_unique<fw::File>(std::move(d));
}

MappedListing MapSbkListing(const SongBook11Rec& old, const SBDiscs11Rec* oldDisc, std::string_view brandCode) {
    MappedListing m;
    shell::SongBookRec& l = m.listing;
    l.Title = old.TITLE;
    l.Artist = old.ARTIST;
    l.LOCATION = old.LOCATION;
    l.DISKTRACKNO = old.DISKTRACKNO;
    l.UnqDiskID = old.UNQDISKID;
    l.DateAdded = old.DATEADDED;
    l.MAKEID = brandCode;

    shell::SBDiscsRec& d = m.disc;
    d.UNQDISKID = old.UNQDISKID;
    d.MAKETYPE = brandCode;
    if (oldDisc) {
        d.MakeID = oldDisc->MAKEID;
        d.ALTDISKID = oldDisc->ALTDISKID;
    } else {
        d.ALTDISKID = old.UNQDISKID;  // as the listing form gives a new disc
    }
    if (old.DISKTRACKNO == 0) {
        // A discless track: its old disc ID held the track number.
        const double value = fw::NumericValue(old.UNQDISKID.Clip());
        l.DISKTRACKNO = value >= 0 && value <= 4294967295.0 ? static_cast<std::uint32_t>(std::floor(value)) : 0;
        l.UnqDiskID = kDisclessDiscId;
        d.UNQDISKID = kDisclessDiscId;
        d.ALTDISKID = kDisclessDiscId;
    } else if (old.UNQDISKID.Blank()) {
        l.UnqDiskID = kDisclessDiscId;
        d.UNQDISKID = kDisclessDiscId;
        d.ALTDISKID = kDisclessDiscId;
        m.repaired = "\"" + std::string(old.TITLE.Clip()) + "\" by " + std::string(old.ARTIST.Clip()) +
                     ": its disc ID was blank, so it is now discless track " + std::to_string(l.DISKTRACKNO) + ".";
    }
    return m;
}

shell::SongBookRec MapSongBook15Listing(const SongBook15Rec& old) {
    shell::SongBookRec l{};
    l.Title = old.TITLE;
    l.Artist = old.ARTIST;
    l.UnqDiskID = old.UNQDISKID;
    l.DISKTRACKNO = old.DISKTRACKNO;
    l.GENRE = old.GENRE;
    l.Duet = old.DUET;
    l.PRINT = old.PRINT;
    l.DateAdded = old.DATEADDED;
    l.LOCATION = old.LOCATION;
    l.MAKEID = old.MAKEID;
    return l;
}

}  // namespace songbook
