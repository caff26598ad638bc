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
    if (rules_.removeDuplicates && SameAsLast(entry, false)) return false;
    entry.diskTrackNo = TrackText(listing.track);
    entry.unqDiskId = Field(listing.unqDiskId, 17);
    entry.makeId = Field(listing.makeId, 2);
    return Keep(entry);
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
    if (rules_.removeDuplicates && SameAsLast(entry, rules_.printedUpper)) return false;
    if (listing.omitted && !rules_.ignoreOmits) return false;
    entry.diskTrackNo = TrackText(listing.track);
    entry.unqDiskId = Field(listing.unqDiskId, 15);
    entry.makeId = Field(listing.makeId, 2);
    return Keep(entry);
}

bool SongQueueLoader::SameAsLast(const SongQueueEntry& entry, bool folded) const {
    if (queue_.empty()) return false;
    const std::size_t last = queue_.size() - 1;
    if (folded)
        return fw::UPPER(std::string(queue_.Title(last))) == fw::UPPER(entry.title) &&
               fw::UPPER(std::string(queue_.Artist(last))) == fw::UPPER(entry.artist);
    return queue_.Title(last) == entry.title && queue_.Artist(last) == entry.artist;
}

bool SongQueueLoader::Keep(const SongQueueEntry& entry) {
    if (rules_.removeVocals && IsVocalVersion(fw::UPPER(entry.artist))) return false;
    queue_.Add(entry);
    return true;
}

SongQueue SongQueueLoader::SortedQueue() && {
    queue_.Sort(traits_.sort == ReportSort::Artist);
    return std::move(queue_);
}

std::vector<SongQueueEntry> SongQueueLoader::Sorted() && {
    SongQueue sorted = std::move(*this).SortedQueue();
    std::vector<SongQueueEntry> out;
    out.reserve(sorted.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) out.push_back(sorted.At(i));
    return out;
}

// -- the compact queue --

namespace {
constexpr std::size_t kBlock = 1 << 20;
}  // namespace

SongQueue::SongQueue() = default;
SongQueue::SongQueue(SongQueue&&) noexcept = default;
SongQueue& SongQueue::operator=(SongQueue&&) noexcept = default;
SongQueue::~SongQueue() = default;

std::uint32_t SongQueue::Store(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() + b.size();
    if (blocks_.empty() || used_ + n > kBlock) {
        blocks_.push_back(std::make_unique<char[]>(kBlock));
        used_ = 0;
    }
    char* at = blocks_.back().get() + used_;
    std::copy(a.begin(), a.end(), at);
    std::copy(b.begin(), b.end(), at + a.size());
    const std::uint32_t offset = static_cast<std::uint32_t>((blocks_.size() - 1) * kBlock + used_);
    used_ += n;
    return offset;
}

const char* SongQueue::TextAt(std::uint32_t at) const { return blocks_[at / kBlock].get() + at % kBlock; }

void SongQueue::Add(const SongQueueEntry& e) {
    Entry entry;
    const std::string_view title = std::string_view(e.title).substr(0, 255);
    const std::string_view artist = std::string_view(e.artist).substr(0, 255);
    entry.text = Store(title, artist);
    entry.titleLength = static_cast<std::uint8_t>(title.size());
    entry.artistLength = static_cast<std::uint8_t>(artist.size());
    entry.trackLength = static_cast<std::uint8_t>(std::min<std::size_t>(e.diskTrackNo.size(), sizeof entry.track));
    std::copy_n(e.diskTrackNo.begin(), entry.trackLength, entry.track);
    entry.makeLength = static_cast<std::uint8_t>(std::min<std::size_t>(e.makeId.size(), sizeof entry.make));
    std::copy_n(e.makeId.begin(), entry.makeLength, entry.make);
    auto [disc, added] = discIndex_.try_emplace(e.unqDiskId, static_cast<std::uint32_t>(discs_.size()));
    if (added) discs_.push_back(e.unqDiskId);
    entry.disc = disc->second;
    entries_.push_back(entry);
}

std::string_view SongQueue::Title(std::size_t i) const {
    const Entry& e = entries_[i];
    return {TextAt(e.text), e.titleLength};
}
std::string_view SongQueue::Artist(std::size_t i) const {
    const Entry& e = entries_[i];
    return {TextAt(e.text) + e.titleLength, e.artistLength};
}
std::string_view SongQueue::DiskTrackNo(std::size_t i) const { return {entries_[i].track, entries_[i].trackLength}; }
std::string_view SongQueue::UnqDiskId(std::size_t i) const { return discs_[entries_[i].disc]; }
std::string_view SongQueue::MakeId(std::size_t i) const { return {entries_[i].make, entries_[i].makeLength}; }

SongQueueEntry SongQueue::At(std::size_t i) const {
    return {std::string(Title(i)), std::string(Artist(i)), std::string(DiskTrackNo(i)), std::string(UnqDiskId(i)),
            std::string(MakeId(i))};
}

void SongQueue::Sort(bool byArtist) {
    std::vector<std::uint32_t> order(entries_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
    std::stable_sort(order.begin(), order.end(), [this, byArtist](std::uint32_t a, std::uint32_t b) {
        if (int c = fw::CompareFolded(byArtist ? Artist(a) : Title(a), byArtist ? Artist(b) : Title(b))) return c < 0;
        return fw::CompareFolded(byArtist ? Title(a) : Artist(a), byArtist ? Title(b) : Artist(b)) < 0;
    });
    std::vector<Entry> sorted;
    sorted.reserve(entries_.size());
    for (std::uint32_t i : order) sorted.push_back(entries_[i]);
    entries_ = std::move(sorted);
}

}  // namespace printing
