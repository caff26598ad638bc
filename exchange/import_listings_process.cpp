#include "exchange/import_listings_process.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "platform/ui/message.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/integrity_results.h"
#include "shell/process_window.h"
#include "shell/warnings.h"

#include <unordered_set>

#include "shell/data_dictionary_prefixes.h"

namespace exchange {
namespace {

constexpr std::size_t kRefusedShown = 20;

std::string RowName(const shell::ImportQueRec& row, const std::string& disc) {
    std::string name = "\"" + row.TITLE.Str() + "\"";
    if (!disc.empty()) name += " (" + disc + " track " + std::to_string(row.DISKTRACKNO) + ")";
    return name;
}

class ImportRun {
public:
    explicit ImportRun(ImportSession& session) : session_(session) {
        bookHasDiscs_ = fw::RECORDS(shell::SBDiscs()) > 0;
    }

    // A slice is one write transaction on each file; the discs are
    // committed before the listings, so every listing committed has its disc.
    shell::PassState OpenSlice() {
        for (fw::File* f : {&shell::SBDiscs(), &shell::SongBook()}) {
            fw::STREAM(*f);
            if (fw::ERRORCODE() == 0) continue;
            shell::ShowWarning(34, "Update", f->Label());
            fw::FLUSH(shell::SBDiscs());
            return shell::PassState::Failed;
        }
        return shell::PassState::Running;
    }
    shell::PassState CloseSlice() {
        for (fw::File* f : {&shell::SBDiscs(), &shell::SongBook()}) {
            fw::FLUSH(*f);
            if (fw::ERRORCODE() == 0) continue;
            shell::ShowWarning(31, "Put", f->Label());
            DropSliceCounts();  // not committed: not counted
            return shell::PassState::Failed;
        }
        result.listingsAdded += sliceListings_;
        result.discsAdded += sliceDiscs_;
        result.refused.insert(result.refused.end(), sliceRefused_.begin(), sliceRefused_.end());
        knownDiscs_.insert(sliceDiscIds_.begin(), sliceDiscIds_.end());
        const bool failed = failed_;
        DropSliceCounts();
        return failed ? shell::PassState::Failed : shell::PassState::Running;
    }

    shell::PassState Row() {
        const shell::ImportQueRec& row = session_.rows.rec;
        const std::string disc = EffectiveDiscId(row.UNQDISKID.Clip(), row.ALTDISKID.Clip());
        if (disc.empty()) return Refuse(row, disc, "no disc ID");

        fw::ClearRecord(&SBK, shell::SongBookRec::Decl());
        SBK.Title = row.TITLE;
        SBK.Artist = row.ARTIST;
        SBK.UnqDiskID = disc;
        SBK.DISKTRACKNO = row.DISKTRACKNO;
        SBK.GENRE = row.GENRE;
        SBK.Duet = row.DUET;
        SBK.MAKEID = row.SBKMAKEID;
        SBK.DateAdded = row.DATEADDED;
        fw::ADD(shell::SongBook());
        if (fw::ERRORCODE() == fw::DupKeyErr) return Refuse(row, disc, "its disc and track are in the book already");
        if (fw::ERRORCODE() != 0) return Fail(shell::SongBook());
        ++sliceListings_;

        const std::string folded = fw::UpperText(disc);
        if (knownDiscs_.count(folded) || sliceDiscIds_.count(folded)) return shell::PassState::Running;
        if (bookHasDiscs_) {
            SBD.UNQDISKID = disc;
            fw::GET(shell::SBDiscs(), shell::SBDiscs().FindKey("SBD:KUNQDISKID"));
            if (fw::ERRORCODE() == 0) {
                sliceDiscIds_.insert(folded);
                return shell::PassState::Running;
            }
        }
        fw::ClearRecord(&SBD, shell::SBDiscsRec::Decl());
        SBD.UNQDISKID = disc;
        SBD.ALTDISKID = row.ALTDISKID;
        SBD.MakeID = row.MAKEID == 0 ? 1 : row.MAKEID;
        SBD.MAKETYPE = row.MAKETYPE.Blank() ? row.SBKMAKEID : row.MAKETYPE;
        fw::ADD(shell::SBDiscs());
        const int added = fw::ERRORCODE();
        if (added != 0) {
            // The listing goes with its disc: no listing without one.
            const int kept = fw::ERRORCODE();
            fw::DELETE(shell::SongBook());
            if (fw::ERRORCODE() != 0) return Fail(shell::SongBook());
            --sliceListings_;
            fw::SetError(kept);
            if (added != fw::DupKeyErr) return Fail(shell::SBDiscs());
            return Refuse(row, disc, "its custom disc ID " + row.ALTDISKID.Str() + " is another disc's");
        }
        ++sliceDiscs_;
        sliceDiscIds_.insert(folded);
        return shell::PassState::Running;
    }

    ImportResult result;

private:
    shell::PassState Refuse(const shell::ImportQueRec& row, const std::string& disc, const std::string& why) {
        sliceRefused_.push_back(RowName(row, disc) + ": " + why);
        fw::SetError(0);
        return shell::PassState::Running;
    }
    // A write failed for another reason than a key: said now; the whole
    // rows before it are committed at the slice's end and the pass stops.
    shell::PassState Fail(fw::File& file) {
        shell::ShowWarning(31, "Put", file.Label());
        failed_ = true;
        return shell::PassState::Failed;
    }
    void DropSliceCounts() {
        sliceListings_ = sliceDiscs_ = 0;
        sliceRefused_.clear();
        sliceDiscIds_.clear();
        failed_ = false;
    }

    ImportSession& session_;
    bool bookHasDiscs_ = false;
    bool failed_ = false;
    long sliceListings_ = 0;
    long sliceDiscs_ = 0;
    std::vector<std::string> sliceRefused_;
    std::unordered_set<std::string> knownDiscs_;    // folded IDs of discs the book has (committed)
    std::unordered_set<std::string> sliceDiscIds_;  // ... found or added in this slice
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

    ImportResult result;
    result.state = shell::RunProgressProcess(plan);
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
