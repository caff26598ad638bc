#include "printing/song_queue.h"

#include <algorithm>

#include "platform/text/codepage.h"
#include "platform/text/strings.h"

namespace printing {
namespace {

constexpr std::size_t kTextWidth = 40;

// A queue field: cut to its width, trailing blanks dropped.
std::string Field(std::string_view s, std::size_t width = kTextWidth) { return fw::CLIP(s.substr(0, std::min(s.size(), width))); }

std::string Trim(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return fw::CLIP(s.substr(first));
}

bool IsVocalVersion(std::string_view upperArtist) {
    return upperArtist.find("W/VOC") != std::string_view::npos || upperArtist.find("W-VOC") != std::string_view::npos;
}

}  // namespace

std::string FormatArtistName(std::string_view artist) {
    const auto comma = artist.find(',');
    if (comma == std::string_view::npos) return std::string(artist);
    const std::string_view last = artist.substr(0, comma);
    const std::string_view rest = artist.substr(comma + 1);
    // "THE " from the rest's fourth character on keeps the name as it is
    // ("Smith, Bob The Builder").
    if (fw::INSTRING("THE ", fw::CLIP(fw::UPPER(rest)), 1, 4) != 0) return std::string(artist);
    return Trim(rest) + " " + Trim(last);
}

std::string ApplyTheRule(std::string_view artist) {
    const auto first = artist.find_first_not_of(' ');
    std::string text(first == std::string_view::npos ? std::string_view() : artist.substr(first));
    // The field's trailing blanks complete "THE " for an artist that is just "The".
    if (text.size() < 4) text.resize(4, ' ');
    if (fw::UPPER(text.substr(0, 4)) != "THE ") return std::string(artist);
    return Trim(std::string_view(text).substr(4)) + ", The";
}

std::string TrackText(unsigned track) { return (track < 10 ? "0" : "") + std::to_string(track); }

SongQueueLoader::SongQueueLoader(SongBookLayout layout, SongQueueRules rules)
    : traits_(TraitsOf(layout)), rules_(std::move(rules)) {}

bool SongQueueLoader::Add(const SongListing& listing) {
    if (rules_.filterGenre && fw::CLIP(listing.genre) != fw::CLIP(rules_.printGenre)) return false;
    return traits_.family == ReportFamily::TwoColumn ? AddTwoColumn(listing) : AddSingleColumn(listing);
}

// Both families compare a listing with the last entry actually added, so a
// listing left out by a filter never hides the next one's duplicate.
bool SongQueueLoader::AddTwoColumn(const SongListing& listing) {
    if (listing.omitted && !rules_.ignoreOmits) return false;
    std::string title = listing.title, artist = listing.artist;
    if (rules_.allCaps) {
        title = fw::UPPER(title);
        artist = fw::UPPER(artist);
    }
    if (rules_.firstNameLastName) artist = FormatArtistName(artist);
    artist = ApplyTheRule(artist);
    SongQueueEntry entry;
    entry.title = Field(title);
    entry.artist = Field(artist);
    if (rules_.removeDuplicates && !entries_.empty() && entries_.back().title == entry.title &&
        entries_.back().artist == entry.artist)
        return false;
    entry.diskTrackNo = TrackText(listing.track);
    entry.unqDiskId = Field(listing.unqDiskId, 17);
    entry.genre = Field(listing.genre);
    entry.makeId = Field(listing.makeId, 2);
    return Keep(std::move(entry));
}

// Duplicates are compared on what is printed: the names as reworked, and
// upper-cased where the layout prints them All Caps.
bool SongQueueLoader::AddSingleColumn(const SongListing& listing) {
    std::string artist = listing.artist;
    if (rules_.firstNameLastName) artist = FormatArtistName(artist);
    artist = ApplyTheRule(artist);
    SongQueueEntry entry;
    entry.title = Field(listing.title);
    entry.artist = Field(artist);
    if (rules_.removeDuplicates && !entries_.empty()) {
        const SongQueueEntry& last = entries_.back();
        const bool same = rules_.printedUpper
                              ? fw::UPPER(last.title) == fw::UPPER(entry.title) && fw::UPPER(last.artist) == fw::UPPER(entry.artist)
                              : last.title == entry.title && last.artist == entry.artist;
        if (same) return false;
    }
    if (listing.omitted && !rules_.ignoreOmits) return false;
    entry.diskTrackNo = TrackText(listing.track);
    entry.unqDiskId = Field(listing.unqDiskId, 15);
    entry.genre = Field(listing.genre);
    entry.makeId = Field(listing.makeId, 2);
    return Keep(std::move(entry));
}

bool SongQueueLoader::Keep(SongQueueEntry entry) {
    entry.upperTitle = fw::UPPER(entry.title);
    entry.upperArtist = fw::UPPER(entry.artist);
    if (rules_.removeVocals && IsVocalVersion(entry.upperArtist)) return false;
    entries_.push_back(std::move(entry));
    return true;
}

std::vector<SongQueueEntry> SongQueueLoader::Sorted() && {
    const bool byArtist = traits_.sort == ReportSort::Artist;
    std::stable_sort(entries_.begin(), entries_.end(), [byArtist](const SongQueueEntry& a, const SongQueueEntry& b) {
        const std::string& a1 = byArtist ? a.upperArtist : a.upperTitle;
        const std::string& b1 = byArtist ? b.upperArtist : b.upperTitle;
        if (int c = fw::CompareFolded(a1, b1)) return c < 0;
        return fw::CompareFolded(byArtist ? a.upperTitle : a.upperArtist, byArtist ? b.upperTitle : b.upperArtist) < 0;
    });
    return std::move(entries_);
}

}  // namespace printing
