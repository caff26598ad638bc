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

fw::TextMatch MatchOf(SearchMode mode) {
    return mode == SearchMode::BeginsWith ? fw::TextMatch::BeginsWith : fw::TextMatch::Contains;
}

// Starts `order`'s reading after `after` (a POSITION of that key), or from
// the start when it is blank; with `view` given, opens it there. Then the
// next record: ERRORCODE 0 when there is one. The record of `after` itself
// is passed over.
void ReadAfter(const fw::Key& order, std::string_view after, fw::View* view) {
    if (after.empty()) fw::SET(order);
    else fw::RESET(order, after);
    if (view) fw::OPEN(*view, fw::ReadWrite | fw::DenyWrite);
    auto next = [&] {
        if (view) fw::NEXT(*view);
        else fw::NEXT(*order.file);
    };
    next();
    if (fw::ERRORCODE() == 0 && !after.empty() && fw::POSITION(order) == after) next();
}

// The title and artist lists are SongBook in its key's order: the storage
// tests the text on each listing from where the search starts, so nothing
// but the hit is read.
SearchResult SearchListings(SongBookListKind list, std::string_view text, SearchMode mode, std::string_view after) {
    SearchResult result;
    fw::File& book = shell::SongBook();
    const bool byTitle = list == SongBookListKind::Title;
    const fw::Key key = book.FindKey(byTitle ? "SBK:KTITLE" : "SBK:KARTIST");
    fw::View hits(book);
    hits.SetTextMatch(byTitle ? "SBK:Title" : "SBK:Artist", text, MatchOf(mode));
    ReadAfter(key, after, &hits);
    const bool found = fw::ERRORCODE() == 0;
    fw::CLOSE(hits);
    if (!found) return result;
    result.found = true;
    result.hit = fw::POSITION(key);
    ReadListingDisc();
    return result;
}

// A disc-list hit's text: the disc's place in the custom disc IDs' order,
// then the listing's among the disc's listings (blank: a disc without
// listings).
constexpr char kHitSeparator = '\n';

// The disc list: the discs whose custom disc ID is a hit, by that ID, each
// with its listings in track order. Next goes on with the last hit disc's
// later listings, then to the next hit disc.
SearchResult SearchDiscs(std::string_view text, SearchMode mode, std::string_view after) {
    SearchResult result;
    fw::File& book = shell::SongBook();
    fw::File& discs = shell::SBDiscs();
    const fw::Key byAltId = discs.FindKey("SBD:KALTDISKID");
    const fw::Key listings = book.FindKey("SBK:KUnqDiskID");
    const std::size_t cut = after.find(kHitSeparator);
    const std::string_view discAfter = after.substr(0, cut);
    const std::string_view listingAfter = cut == std::string_view::npos ? std::string_view{} : after.substr(cut + 1);
    const std::string folded = fw::UpperText(text);

    // The disc in SBD (current): its first listing after `from` (blank: its first).
    auto listingOf = [&](std::string_view from) {
        const std::string disc(SBD.UNQDISKID.Clip());
        if (from.empty()) {
            fw::ClearRecord(&SBK, *shell::SongBookFile().record);
            SBK.UnqDiskID = disc;
            SBK.DISKTRACKNO = 0;
            fw::SET(listings, listings);
            fw::NEXT(book);
        } else {
            ReadAfter(listings, from, nullptr);
        }
        return fw::ERRORCODE() == 0 && fw::CompareFolded(SBK.UnqDiskID.Clip(), disc) == 0;
    };
    auto hitAt = [&](const std::string& discPlace, bool withListing) {
        result.found = true;
        result.hit = discPlace + kHitSeparator + (withListing ? fw::POSITION(listings) : std::string());
        if (!withListing) fw::ClearRecord(&SBK, *shell::SongBookFile().record);
        fw::SetError(0);
        return result;
    };

    if (!discAfter.empty() && !listingAfter.empty()) {
        // The last hit disc's later listings, while it is there and still a hit.
        fw::RESET(byAltId, discAfter);
        fw::NEXT(discs);
        if (fw::ERRORCODE() == 0 && fw::POSITION(byAltId) == discAfter &&
            fw::TextMatches(SBD.ALTDISKID.Clip(), folded, MatchOf(mode))) {
            const std::string discPlace(discAfter);
            if (listingOf(listingAfter)) return hitAt(discPlace, true);
        }
    }
    fw::View hitDiscs(discs);
    hitDiscs.SetTextMatch("SBD:ALTDISKID", text, MatchOf(mode));
    ReadAfter(byAltId, discAfter, &hitDiscs);
    const bool found = fw::ERRORCODE() == 0;
    fw::CLOSE(hitDiscs);
    if (!found) return result;
    const std::string discPlace = fw::POSITION(byAltId);
    return hitAt(discPlace, listingOf({}));
}

}  // namespace

bool IsSearchHit(std::string_view field, std::string_view searchText, SearchMode mode) {
    return fw::TextMatches(field, fw::UpperText(ClipRight(searchText)), MatchOf(mode));
}

SearchResult SearchSongBookList(SongBookListKind list, std::string_view searchText, SearchMode mode,
                                std::string_view after) {
    const std::string_view text = ClipRight(searchText);
    if (text.empty()) return {};
    if (list == SongBookListKind::Disc) return SearchDiscs(text, mode, after);
    return SearchListings(list, text, mode, after);
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
