#include "songbook/song_book_search.h"

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/runtime/error_state.h"
#include "platform/data/text_match.h"
#include "platform/data/view.h"
#include "platform/text/codepage.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/data_files.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_prefixes.h"

#include <cstdint>
#include <functional>
#include <string>

namespace songbook {

namespace {

std::string_view ClipRight(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// The joined disc of the listing in SBK, for the row's disc ID column
// (cleared when the book has no such disc).
void ReadListingDisc() {
    fw::File& discs = shell::SBDiscs();
    const std::string disc(SBK.UnqDiskID.Clip());
    fw::ClearRecord(&SBD, *shell::SBDiscsFile().record);
    SBD.UNQDISKID = disc;
    fw::GET(discs, discs.FindKey("SBD:KUNQDISKID"));
    if (fw::ERRORCODE() != 0) {
        fw::ClearRecord(&SBD, *shell::SBDiscsFile().record);
        fw::SetError(0);
    }
}

// The title and artist lists are SongBook in its key's order: the storage
// tests the text on every listing, and the ranks in the key give the
// ordinals, so nothing but the hit is read.
SearchResult SearchListings(SongBookListKind list, std::string_view text, SearchMode mode, long lastHitOrdinal) {
    SearchResult result;
    fw::File& book = shell::SongBook();
    const bool byTitle = list == SongBookListKind::Title;
    const fw::Key key = book.FindKey(byTitle ? "SBK:KTITLE" : "SBK:KARTIST");
    fw::View hits(book);
    hits.SetTextMatch(byTitle ? "SBK:Title" : "SBK:Artist", text,
                      mode == SearchMode::BeginsWith ? fw::TextMatch::BeginsWith : fw::TextMatch::Contains);
    std::string passed;  // the row of the last hit's ordinal, which is not found again
    if (lastHitOrdinal > 0) {
        if (!fw::GetAtRank(key, lastHitOrdinal)) {
            result.scanned = fw::KeyRecords(key);
            return result;
        }
        passed = fw::POSITION(book);
        fw::RESET(key, fw::POSITION(key));
    } else {
        fw::SET(key);
    }
    fw::OPEN(hits, fw::ReadWrite | fw::DenyWrite);
    fw::NEXT(hits);
    if (fw::ERRORCODE() == 0 && !passed.empty() && fw::POSITION(book) == passed) fw::NEXT(hits);
    if (fw::ERRORCODE() != 0) {
        fw::CLOSE(hits);
        result.scanned = fw::KeyRecords(key);
        return result;
    }
    fw::CLOSE(hits);
    result.found = true;
    result.ordinal = result.scanned = fw::KeyRank(key);
    ReadListingDisc();
    return result;
}

// Calls row(fieldText) for each row of the disc list's view in order until
// it returns true; the buffers then hold that row.
void ForEachDiscRow(const std::function<bool(std::string_view)>& row) {
    fw::File& book = shell::SongBook();
    fw::File& discs = shell::SBDiscs();
    const fw::Key listings = book.FindKey("SBK:KUnqDiskID");
    fw::SET(discs.FindKey("SBD:KALTDISKID"));
    for (;;) {
        fw::NEXT(discs);
        if (fw::ERRORCODE() != 0) return;
        const std::string disc(SBD.UNQDISKID.Clip());
        fw::ClearRecord(&SBK, *shell::SongBookFile().record);
        SBK.UnqDiskID = disc;
        SBK.DISKTRACKNO = 0;
        fw::SET(listings, listings);
        bool any = false;
        for (;;) {
            fw::NEXT(book);
            if (fw::ERRORCODE() != 0 || fw::CompareFolded(SBK.UnqDiskID.Clip(), disc) != 0) break;
            any = true;
            if (row(SBD.ALTDISKID.Clip())) return;
        }
        if (!any) {
            fw::ClearRecord(&SBK, *shell::SongBookFile().record);
            if (row(SBD.ALTDISKID.Clip())) return;
        }
    }
}

}  // namespace

bool IsSearchHit(std::string_view field, std::string_view searchText, SearchMode mode) {
    return fw::TextMatches(field, fw::UpperText(ClipRight(searchText)),
                           mode == SearchMode::BeginsWith ? fw::TextMatch::BeginsWith : fw::TextMatch::Contains);
}

SearchResult SearchSongBookList(SongBookListKind list, std::string_view searchText, SearchMode mode,
                                long lastHitOrdinal) {
    SearchResult result;
    if (ClipRight(searchText).empty()) return result;
    if (list != SongBookListKind::Disc) return SearchListings(list, ClipRight(searchText), mode, lastHitOrdinal);
    ForEachDiscRow([&](std::string_view field) {
        ++result.scanned;
        if (result.scanned <= lastHitOrdinal || !IsSearchHit(field, searchText, mode)) return false;
        result.found = true;
        result.ordinal = result.scanned;
        return true;
    });
    if (result.found) fw::SetError(0);
    return result;
}

bool StandOnHit(SongBookListKind list, fw::View& view) {
    const bool discList = list == SongBookListKind::Disc;
    fw::File& primary = discList ? shell::SBDiscs() : shell::SongBook();
    const fw::Key order = primary.FindKey(SongBookList(list).orderKey);
    // The hit's listing (blank on a disc without listings): the disc
    // list's row to stand on.
    const std::string listing(SBK.UnqDiskID.Clip());
    const std::uint32_t track = SBK.DISKTRACKNO;

    // The primary file's current record is the hit's: the view starts there.
    fw::CLOSE(view);
    fw::RESET(order, fw::POSITION(order));
    if (fw::ERRORCODE() != 0) return false;
    fw::OPEN(view, fw::ReadWrite | fw::DenyWrite);
    if (fw::ERRORCODE() != 0) return false;
    fw::NEXT(view);
    if (fw::ERRORCODE() != 0) return false;
    if (!discList) return true;

    // The disc's rows come in track order: step on to the hit's listing.
    const std::string disc(SBD.UNQDISKID.Clip());
    const std::string firstRow = fw::POSITION(view);
    while (SBK.DISKTRACKNO != track || fw::CompareFolded(SBK.UnqDiskID.Clip(), listing) != 0) {
        fw::NEXT(view);
        if (fw::ERRORCODE() != 0 || fw::CompareFolded(SBD.UNQDISKID.Clip(), disc) != 0) {
            // The listing has left the disc since the scan: the disc's
            // first row stands for it.
            fw::RESET(view, firstRow);
            fw::NEXT(view);
            return fw::ERRORCODE() == 0;
        }
    }
    return true;
}

}  // namespace songbook
