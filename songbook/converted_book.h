#pragma once
// A book of the current format written from an older book's records, in
// new files beside the book's final pair; nothing under the final names is
// touched until the new pair is complete and checked, and PlaceInto puts it
// there as one list of undoable file steps.
//
// Keys are kept while writing, by the unique key's own rule (fw::RecordKeyText:
// a listing with a blank disc and track 0 is outside the key and never
// clashes), so nothing vanishes silently: a discless listing whose track on
// the "*" disc is taken gets a number above every discless track of the
// book once all are known, so no other listing moves; of two listings with
// the same disc and track the first is kept, and the second is merged into
// it (the same title and artist) or dropped; a blank custom disc ID, or one
// already used by another disc, gives way to the disc's own ID (or, when
// that is taken too, a numbered one). Notes() lists each such change, one
// line each, starting with what was done.

#include "shell/data_dictionary_songbook.h"
#include "songbook/book_journal.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace fw {
class File;
}

namespace songbook {

class ConvertedBook {
public:
    // The final pair's names (the program's text); without a discs path
    // only the listings are written.
    ConvertedBook(std::string listingsPath, std::string discsPath = {});
    ~ConvertedBook();  // a pair not placed is removed
    ConvertedBook(const ConvertedBook&) = delete;
    ConvertedBook& operator=(const ConvertedBook&) = delete;

    // Creates the new pair; false with Error() when it cannot.
    bool Begin();
    // The disc, unless a disc of that ID (letter case ignored) is there.
    void AddDisc(shell::SBDiscsRec disc);
    bool HasDisc(std::string_view unqDiskId) const;
    // The listing, by the key rules above. False (Error() set) when it
    // cannot be written.
    bool AddListing(shell::SongBookRec listing);
    // Writes the rest, builds the keys and checks both files: as many
    // records as were added, nothing dropped. False with Error().
    bool Finish();
    // The steps that put the new pair in place (book_journal.h): an
    // existing file under a final name goes aside (or, with keptSuffix, to
    // the final name + keptSuffix, never over another file) and the new
    // file takes the name. The caller runs them under a journal.
    void PlaceSteps(std::vector<JournalStep>& steps, std::string_view keptSuffix = {}) const;
    // The new pair is in place: it is no longer removed when this ends.
    void Placed() { placed_ = true; }
    // Removes the new pair.
    void Abandon();

    long ListingsWritten() const { return listings_; }
    long DiscsWritten() const { return discs_; }
    // What a change did, the first word of its line in Notes().
    enum class Change { Renumbered, Merged, Dropped, Repaired };
    void Note(Change kind, const std::string& text);
    const std::vector<std::string>& Notes() const { return notes_; }
    const std::string& Error() const { return error_; }

private:
    bool Fail(std::string what);
    std::vector<fw::File*> Files() const;
    std::string NewName(const std::string& finalPath) const;

    std::string listingsPath_, discsPath_;     // final, program text
    std::string newListings_, newDiscs_;       // beside them
    std::unique_ptr<fw::File> listingFile_, discFile_;
    std::uint32_t FreeDisclessTrack();
    bool WriteListing(const shell::SongBookRec& listing);

    // Key values of the listings written, with the title and artist of each.
    std::unordered_map<std::string, std::pair<std::string, std::string>> tracks_;
    std::unordered_set<std::uint32_t> disclessTracks_;
    std::vector<shell::SongBookRec> renumber_;  // discless listings whose track was taken
    std::unordered_set<std::string> discIds_;  // folded disc IDs
    std::unordered_set<std::string> customIds_;
    std::uint64_t nextDisclessTrack_ = 0;      // above every "*" track so far
    long listings_ = 0, discs_ = 0;
    std::vector<std::string> notes_;
    std::string error_;
    bool open_ = false, placed_ = false;
};

// A disc ID as the keys compare it: upper case, trailing blanks dropped.
std::string FoldedId(std::string_view id);

// The plain-text list of a conversion's changes beside the book: for
// Party.2bk, Party.conversion.log in the same folder (program text).
std::string ConversionLogPath(std::string_view listingsPath);
// Writes the list (UTF-8, one change a line, after a heading naming the
// book and the time); an earlier list under that name is kept above it.
// False with the reason in `error`.
bool WriteConversionLog(const std::string& logPath, const std::string& heading, const std::vector<std::string>& notes,
                        std::string& error);
// The completion message: how many changes there were and where their
// list is (logError: it could not be written, and why).
std::string ConversionNotesText(std::size_t changes, const std::string& logPath, const std::string& logError = {});

}  // namespace songbook
