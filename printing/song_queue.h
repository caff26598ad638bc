#pragma once
// The front end of every song-book report: the listings of the book, read
// in the report's order, pass the print filters and the name rules into a
// song queue, which is then sorted for printing.
//
//   SongQueueLoader loader(SongBookLayout::ArtistTwoColumn, rules);
//   for (each listing of the view, in the report's key order) loader.Add(listing);
//   std::vector<SongQueueEntry> queue = std::move(loader).Sorted();

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <string>
#include <string_view>
#include <vector>

#include "printing/song_book_layouts.h"

namespace printing {

// A listing as the report's view delivers it.
struct SongListing {
    std::string title, artist;
    std::string unqDiskId;
    std::string genre;
    std::string makeId;   // brand code, printed in the Mfr. column
    unsigned track = 0;
    bool omitted = false; // the omit mark is set
};

// The print settings the loading reads.
struct SongQueueRules {
    bool filterGenre = false;
    std::string printGenre;
    bool ignoreOmits = false;        // print omitted listings too
    bool allCaps = false;            // CaseStyle 2; the two-column family applies it while loading
    bool firstNameLastName = false;  // NameFormat 1
    bool removeDuplicates = false;
    bool printedUpper = false;       // the single-column family prints All Caps: duplicates compare so
    bool removeVocals = false;       // leave out artists marked W/VOC or W-VOC
};

struct SongQueueEntry {
    std::string title, artist;             // as printed (at most 40 characters)
    std::string diskTrackNo;               // track text, at least two digits
    std::string unqDiskId;
    std::string makeId;
};

// The song queue as the reports keep it: every text in one arena of
// fixed-size blocks, an entry a few numbers, each disc ID once, so a book
// of a million listings takes some tens of megabytes.
class SongQueue {
public:
    SongQueue();
    SongQueue(SongQueue&&) noexcept;
    SongQueue& operator=(SongQueue&&) noexcept;
    ~SongQueue();

    void Add(const SongQueueEntry& entry);
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    std::string_view Title(std::size_t i) const;
    std::string_view Artist(std::size_t i) const;
    std::string_view DiskTrackNo(std::size_t i) const;
    std::string_view UnqDiskId(std::size_t i) const;
    std::string_view MakeId(std::size_t i) const;
    SongQueueEntry At(std::size_t i) const;
    // In print order: by the group name (artist or title), then the other,
    // with the lists' case folding; ties keep their order.
    void Sort(bool byArtist);

private:
    struct Entry {
        std::uint32_t text = 0;  // title, then artist, in the arena
        std::uint32_t disc = 0;  // index into discs_
        std::uint8_t titleLength = 0, artistLength = 0, trackLength = 0, makeLength = 0;
        char track[6] = {};
        char make[2] = {};
    };
    std::uint32_t Store(std::string_view a, std::string_view b);
    const char* TextAt(std::uint32_t at) const;

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t used_ = 0;  // in the last block
    std::vector<Entry> entries_;
    std::vector<std::string> discs_;
    std::unordered_map<std::string, std::uint32_t> discIndex_;
};

// "Smith, John" becomes "John Smith"; an artist whose part after the comma
// holds "THE " from its fourth character on, and one without a comma, stay.
std::string FormatArtistName(std::string_view artist);
// "The Beatles" becomes "Beatles, The" (the appended word is always "The").
std::string ApplyTheRule(std::string_view artist);
// A track number as printed: below 10 with a leading zero ("05").
std::string TrackText(unsigned track);

class SongQueueLoader {
public:
    SongQueueLoader(SongBookLayout layout, SongQueueRules rules);

    // Applies the filters and rules to the next listing of the reading
    // order; true when it became an entry.
    bool Add(const SongListing& listing);
    std::size_t size() const { return queue_.size(); }

    // The queue in print order: by the upper-cased group name, then the
    // upper-cased entry text, with the lists' case folding; ties keep the
    // reading order.
    SongQueue SortedQueue() &&;
    std::vector<SongQueueEntry> Sorted() &&;

private:
    bool AddTwoColumn(const SongListing& listing);
    bool AddSingleColumn(const SongListing& listing);
    bool Keep(const SongQueueEntry& entry);
    bool SameAsLast(const SongQueueEntry& entry, bool folded) const;

    LayoutTraits traits_;
    SongQueueRules rules_;
    SongQueue queue_;
};

}  // namespace printing
