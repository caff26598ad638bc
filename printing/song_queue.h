#pragma once
// The front end of every song-book report: the listings of the book, read
// in the report's order, pass the print filters and the name rules into a
// song queue, which is then sorted for printing.
//
//   SongQueueLoader loader(SongBookLayout::ArtistTwoColumn, rules);
//   for (each listing of the view, in the report's key order) loader.Add(listing);
//   std::vector<SongQueueEntry> queue = std::move(loader).Sorted();

#include <cstdint>
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
    std::string upperTitle, upperArtist;   // sort keys
    std::string diskTrackNo;               // track text, at least two digits
    std::string unqDiskId;
    std::string genre;
    std::string makeId;
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
    std::size_t size() const { return entries_.size(); }

    // The queue in print order: by the upper-cased group name, then the
    // upper-cased entry text, with the lists' case folding; ties keep the
    // reading order.
    std::vector<SongQueueEntry> Sorted() &&;

private:
    bool AddTwoColumn(const SongListing& listing);
    bool AddSingleColumn(const SongListing& listing);
    bool Keep(SongQueueEntry entry);

    LayoutTraits traits_;
    SongQueueRules rules_;
    std::vector<SongQueueEntry> entries_;
};

}  // namespace printing
