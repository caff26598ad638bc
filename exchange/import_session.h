#pragma once
// One import of a CSV listing file into the open book: the rows to import
// (ImportQue) and the rows that clash (ImportConflictQueue), local to the
// import, so two song-book windows importing at once never share them.
// The clash rules are here once, for the analysis, the correction form and
// the import itself.
//
//   exchange::ImportSession session;           // SongBook and SBDiscs open on this thread
//   exchange::AnalysisResult r = exchange::AnalyzeImportFile(name, session);
//   ... session.rows, session.conflicts ...

#include "platform/data/queue/queue.h"
#include "platform/text/codepage.h"
#include "shell/data_dictionary_queues.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace exchange {

// Why a row cannot be imported as it stands.
enum class Clash {
    None,
    NoDiscId,       // both disc IDs are blank: the listing could never be found again
    TrackExists,    // the book, or a row accepted before it, has its disc and track
    CustomIdTaken,  // its custom disc ID belongs to another disc of the book or of the rows accepted before it
};

// The disc a row's listing is filed under: the manufacturer's disc ID, or
// the custom disc ID when that is blank (both clipped).
std::string EffectiveDiscId(std::string_view unq, std::string_view alt);

class ImportSession {
public:
    ImportSession();
    ImportSession(const ImportSession&) = delete;
    ImportSession& operator=(const ImportSession&) = delete;

    fw::QueueOf<shell::ImportQueRec> rows;                  // ImportQue: to import, in file order
    fw::QueueOf<shell::ImportConflictQueueRec> conflicts;   // ImportConflictQueue: by custom ID, then track

    // Empties both queues and notes whether the book has listings and discs
    // (an empty book needs no look-ups).
    void Begin();
    // The clash of a row with the open book (SongBook and SBDiscs open on
    // this thread; their record buffers are kept) and with the rows accepted
    // so far: first the missing disc IDs, then the track, then the custom ID.
    Clash Check(std::string_view unq, std::string_view alt, std::uint32_t track) const;
    template <class Row>
    Clash Check(const Row& r) const {
        return Check(r.UNQDISKID.Clip(), r.ALTDISKID.Clip(), r.DISKTRACKNO);
    }
    // A row that will be imported: added at the end of `rows` and counted
    // in the checks of later rows.
    void Accept(const shell::ImportQueRec& row);
    // A clashing row, kept in the conflict list's order.
    void AddConflict(const shell::ImportConflictQueueRec& row);
    // Forgets what the book answered: it is kept only while one read of
    // the book lasts (fw::ReadTogether), so no other window changed it.
    void ForgetBookAnswers() { bookCustomIds_.clear(); }

private:
    bool DiscInBook(const std::string& disc) const;
    // The folded disc ID of the book's disc with this folded custom ID
    // (empty: none), looked up once per custom ID until ForgetBookAnswers:
    // the rows of a disc repeat it.
    const std::string& BookDiscWithCustomId(const std::string& foldedCustom, const std::string& custom) const;

    bool bookHasListings_ = false;
    bool bookHasDiscs_ = false;
    std::unordered_set<std::string> tracks_;                   // folded disc ID and track of accepted rows
    std::unordered_set<std::string> knownDiscs_;               // folded disc IDs of accepted rows
    std::unordered_map<std::string, std::string> newDiscIds_;  // folded custom ID -> folded disc ID, discs the import adds
    mutable std::unordered_map<std::string, std::string> bookCustomIds_;  // folded custom ID -> folded disc ID in the book, or empty
};

// A line of the file holding characters the book cannot store: they become
// '?' when the row is imported.
struct ChangedLine {
    long line = 0;
    std::string title;       // the row's title as it will be stored
    std::string characters;  // what cannot be stored ("U+2500 0xE9", codepage.h)
};

// What the analysis of a file found.
struct AnalysisResult {
    int openError = 0;        // the file could not be opened: its error code (nothing analysed)
    std::string openText;
    long rowsRead = 0;        // rows analysed
    long badLine = 0;         // the line that could not be read (0: the whole file was read)
    std::string badText;      // what was wrong with it
    fw::FileText text = fw::FileText::Oem;  // how the file's text was read (listing_file.h)
    bool ascii = true;        // the file holds nothing above 127
    std::vector<ChangedLine> changed;  // in file order
};

// Reads the file (read-only) and sorts each row into session.rows or
// session.conflicts, noting the lines with characters the book cannot
// store. Reading stops at a line that cannot be read.
AnalysisResult AnalyzeImportFile(const std::string& fileName, ImportSession& session);

}  // namespace exchange
