#include "exchange/import_listings_process.h"

#include "platform/data/file_ops.h"
#include "platform/data/transaction.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "platform/text/strings.h"
#include "platform/ui/message.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/integrity_results.h"
#include "shell/process_window.h"
#include "shell/warnings.h"

#include <cstdint>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "shell/data_dictionary_prefixes.h"

namespace exchange {
namespace {

constexpr std::size_t kRefusedShown = 20;

std::string RowName(const std::string& title, const std::string& disc, std::uint32_t track) {
    std::string name = "\"" + title + "\"";
    if (!disc.empty()) name += " (" + disc + " track " + std::to_string(track) + ")";
    return name;
}

// The keys' own rule for a disc ID (letter case and trailing blanks ignored).
std::string Folded(std::string_view id) { return fw::UpperText(fw::CLIP(id)); }

std::string TrackKey(const std::string& foldedDisc, std::uint32_t track) {
    return foldedDisc + '\x01' + std::to_string(track);
}

// The rows are checked and kept in memory a slice at a time, as the unique
// keys would refuse them; once the pass has ended (completed or
// cancelled) everything kept is written in one transaction over both
// files, the discs first, so the book is changed whole or not at all, also
// across a crash, and no transaction outlives a slice. A large batch goes
// in with the listings' other keys made once at the commit.
class ImportRun {
public:
    explicit ImportRun(ImportSession& session) : session_(session) {
        bookListings_ = fw::RECORDS(shell::SongBook());
        bookHasDiscs_ = fw::RECORDS(shell::SBDiscs()) > 0;
        const auto rows = static_cast<std::size_t>(fw::RECORDS(session.rows));
        listings_.reserve(rows);
        tracks_.reserve(rows);
    }

    // A slice's look-ups share one read of each file (a transaction that
    // writes nothing, ended with the slice) instead of taking the file's
    // locks once per look-up; when another writer holds a file, its
    // look-ups go without, only slower.
    shell::PassState OpenSlice() {
        for (fw::File* f : {&shell::SBDiscs(), &shell::SongBook()}) fw::STREAM(*f);
        fw::ClearError();
        return shell::PassState::Running;
    }
    shell::PassState CloseSlice() {
        for (fw::File* f : {&shell::SBDiscs(), &shell::SongBook()}) fw::FLUSH(*f);
        fw::ClearError();
        return shell::PassState::Running;
    }

    shell::PassState Row() {
        const shell::ImportQueRec& row = session_.rows.rec;
        const std::string disc = EffectiveDiscId(row.UNQDISKID.Clip(), row.ALTDISKID.Clip());
        if (disc.empty()) return Refuse(row, disc, "no disc ID");
        const std::string folded = Folded(disc);
        std::string track = TrackKey(folded, row.DISKTRACKNO);
        if (tracks_.count(track) || InBook(disc, row.DISKTRACKNO)) return Refuse(row, disc, kTrackTaken);

        if (!knownDiscs_.count(folded)) {
            if (bookHasDiscs_) {
                SBD.UNQDISKID = disc;
                fw::GET(shell::SBDiscs(), shell::SBDiscs().FindKey("SBD:KUNQDISKID"));
            }
            if (!bookHasDiscs_ || fw::ERRORCODE() != 0) {
                // A disc the book lacks: its custom ID must be free.
                const std::string alt = Folded(row.ALTDISKID.Clip());
                if (!alt.empty() && (altIds_.count(alt) || AltInBook(row.ALTDISKID.Clip())))
                    return Refuse(row, disc, CustomIdTaken(row.ALTDISKID.Str()));
                shell::SBDiscsRec& d = discs_.emplace_back();
                fw::ClearRecord(&d, shell::SBDiscsRec::Decl());
                d.UNQDISKID = disc;
                d.ALTDISKID = row.ALTDISKID;
                d.MakeID = row.MAKEID == 0 ? 1 : row.MAKEID;
                d.MAKETYPE = row.MAKETYPE.Blank() ? row.SBKMAKEID : row.MAKETYPE;
                if (!alt.empty()) altIds_.insert(alt);
            }
            knownDiscs_.insert(folded);
        }
        tracks_.insert(std::move(track));

        shell::SongBookRec& l = listings_.emplace_back();
        fw::ClearRecord(&l, shell::SongBookRec::Decl());
        l.Title = row.TITLE;
        l.Artist = row.ARTIST;
        l.UnqDiskID = disc;
        l.DISKTRACKNO = row.DISKTRACKNO;
        l.GENRE = row.GENRE;
        l.Duet = row.DUET;
        l.MAKEID = row.SBKMAKEID;
        l.DateAdded = row.DATEADDED;
        return shell::PassState::Running;
    }

    // Writes what the rows kept; false (the book as it was, warning shown)
    // when it could not.
    bool Write() {
        if (listings_.empty() && discs_.empty()) return true;
        fw::File& book = shell::SongBook();
        fw::File& discFile = shell::SBDiscs();
        fw::LOGOUT(shell::integrity::kLogoutSeconds, discFile, book);
        if (fw::ERRORCODE() != 0) {
            shell::ShowWarning(34, "Update", book.Label());
            return false;
        }
        // Refused now only if another window changed the book meanwhile.
        std::unordered_set<std::string> refusedDiscs;
        for (const shell::SBDiscsRec& d : discs_) {
            SBD = d;
            fw::ADD(discFile);
            if (fw::ERRORCODE() == fw::DupKeyErr) {
                refusedDiscs.insert(Folded(d.UNQDISKID.Clip()));
                continue;
            }
            if (fw::ERRORCODE() != 0) return Fail(discFile);
            ++result.discsAdded;
        }
        if (fw::KeysOnceIsQuicker(book, static_cast<long>(listings_.size()))) {
            fw::DeferKeys(book);
            if (fw::ERRORCODE() != 0) return Fail(book);
        }
        for (const shell::SongBookRec& l : listings_) {
            if (!refusedDiscs.empty() && refusedDiscs.count(Folded(l.UnqDiskID.Clip()))) {
                RefuseWritten(l, "its custom disc ID is another disc's");
                continue;
            }
            SBK = l;
            fw::ADD(book);
            if (fw::ERRORCODE() == fw::DupKeyErr) {
                RefuseWritten(l, kTrackTaken);
                continue;
            }
            if (fw::ERRORCODE() != 0) return Fail(book);
            ++result.listingsAdded;
        }
        fw::COMMIT();
        if (fw::ERRORCODE() != 0) {
            Failed();
            shell::ShowWarning(31, "Put", book.Label());
            return false;
        }
        return true;
    }

    ImportResult result;

private:
    static constexpr const char* kTrackTaken = "its disc and track are in the book already";
    static std::string CustomIdTaken(const std::string& alt) { return "its custom disc ID " + alt + " is another disc's"; }

    bool InBook(const std::string& disc, std::uint32_t track) {
        if (bookListings_ == 0) return false;
        SBK.UnqDiskID = disc;
        SBK.DISKTRACKNO = track;
        fw::GET(shell::SongBook(), shell::SongBook().FindKey("SBK:KUnqDiskID"));
        return fw::ERRORCODE() == 0;
    }
    bool AltInBook(std::string_view alt) {
        if (!bookHasDiscs_) return false;
        fw::ClearRecord(&SBD, shell::SBDiscsRec::Decl());
        SBD.ALTDISKID = alt;
        fw::GET(shell::SBDiscs(), shell::SBDiscs().FindKey("SBD:KALTDISKID"));
        return fw::ERRORCODE() == 0;
    }

    shell::PassState Refuse(const shell::ImportQueRec& row, const std::string& disc, const std::string& why) {
        result.refused.push_back(RowName(row.TITLE.Str(), disc, row.DISKTRACKNO) + ": " + why);
        fw::SetError(0);
        return shell::PassState::Running;
    }
    void RefuseWritten(const shell::SongBookRec& l, const std::string& why) {
        result.refused.push_back(RowName(l.Title.Str(), std::string(l.UnqDiskID.Clip()), l.DISKTRACKNO) + ": " + why);
    }
    // Nothing of the import is written: the transaction goes back whole.
    bool Fail(fw::File& file) {
        fw::ROLLBACK();
        Failed();
        shell::ShowWarning(31, "Put", file.Label());
        return false;
    }
    void Failed() {
        result.listingsAdded = result.discsAdded = 0;
        result.refused.clear();
    }

    ImportSession& session_;
    long bookListings_ = 0;
    bool bookHasDiscs_ = false;
    std::vector<shell::SongBookRec> listings_;
    std::vector<shell::SBDiscsRec> discs_;
    std::unordered_set<std::string> tracks_;      // folded disc ID and track of the rows kept
    std::unordered_set<std::string> knownDiscs_;  // folded IDs of discs the book has or the rows add
    std::unordered_set<std::string> altIds_;      // folded custom IDs of the discs the rows add
};

}  // namespace

std::string RefusedRowsText(const std::vector<std::string>& refused) {
    const std::size_t n = refused.size();
    std::string text = std::to_string(n) + (n == 1 ? " listing" : " listings") + " not imported:";
    for (std::size_t i = 0; i < n && i < kRefusedShown; ++i) text += "|" + refused[i];
    if (n > kRefusedShown) text += "|... and " + std::to_string(n - kRefusedShown) + " more";
    return text;
}

ImportResult ImportListingsProcess(ImportSession& session, long rowsPerSlice) {
    ImportRun run(session);
    shell::ProgressPlan plan(shell::QueueSource(session.rows, "ImportQue"));
    plan.estimate = [&session] { return fw::RECORDS(session.rows); };
    plan.measure = shell::ByRecords(rowsPerSlice);
    plan.texts.caption = "Importing Listings";
    plan.texts.percentSuffix = "% completed";
    plan.texts.completed = "Building New Index";
    plan.quickScan = {&shell::SongBook(), &shell::SBDiscs()};
    plan.sliceStart = [&run] { return run.OpenSlice(); };
    plan.sliceEnd = [&run] { return run.CloseSlice(); };
    plan.action = [&run] { return run.Row(); };
    // However the pass ended (completed, cancelled, or stopped by a row that
    // could not be read), the rows kept go in with the window shown.
    bool written = true;
    plan.atEnd = [&run, &written](shell::ProgressWindow& window) {
        if (window.Pass().State() != shell::PassState::Completed) window.ShowText("Building New Index");
        written = run.Write();
    };

    ImportResult result;
    result.state = shell::RunProgressProcess(plan);
    if (!written) {
        result.state = shell::PassState::Failed;
        shell::ActionOutcome() = shell::outcome::Cancelled;
    }
    result.listingsAdded = run.result.listingsAdded;
    result.discsAdded = run.result.discsAdded;
    result.refused = std::move(run.result.refused);
    fw::FREE(session.rows);
    if (!result.refused.empty()) {
        shell::ActionOutcome() = shell::outcome::Cancelled;
        fw::MESSAGE(RefusedRowsText(result.refused), {}, fw::Icon::Exclamation);
    }
    return result;
}

}  // namespace exchange
