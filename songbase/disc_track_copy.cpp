#include "songbase/disc_track_copy.h"

#include "platform/data/file_ops.h"
#include "platform/data/transaction.h"
#include "platform/runtime/error_state.h"
#include "platform/text/strings.h"
#include "shell/data_dictionary_files.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"
#include "shell/integrity_results.h"
#include "songbase/custom_disc_ids.h"

#include <algorithm>
#include <chrono>
#include <set>

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

std::string NoTracksReason() { return "The Main SongBase has no tracks of this disc."; }
std::string CustomIdTakenReason(std::string_view alt, std::string_view byDisc) {
    return "Custom Disc ID " + std::string(alt) + " is already used by disc " + fw::CLIP(byDisc) + ".";
}
std::string BlankCustomIdReason() { return "The Custom Disc ID is blank."; }
std::string WriteFailedReason(std::string_view error) { return "The SongBook could not be written: " + std::string(error); }
std::string CommitFailedReason(std::string_view error) {
    return "The SongBook could not save the disc: " + std::string(error);
}

namespace {

// How long a batch of discs runs before it is committed, at least (a
// commit of the two files syncs each file and journal, about ten syncs);
// and at least this many times as long as the last commit took, so that in
// a large book, where a commit writes most of its pages, the commits stay a
// small part of the run.
constexpr long long kBatchMilliseconds = 2000;
constexpr long long kBatchPerCommit = 8;

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string ErrorText() { return fw::ERRORCODE() == fw::FileSystemErr ? fw::FILEERROR() : fw::ERROR(); }

}  // namespace

struct DiscTrackCopier::Files {
    explicit Files(const BookFiles& book)
        : listings(Decl(shell::SongBookFile(), book.listings, &listing)), discs(Decl(shell::SBDiscsFile(), book.discs, &disc)) {}

    static fw::FileDecl Decl(const shell::FileEntry& file, const std::string& path, void* buffer) {
        fw::FileDecl decl = shell::FileDeclOf(file, [buffer] { return buffer; });
        decl.name = fw::FixedName(path);
        return decl;
    }

    shell::SongBookRec listing{};
    shell::SBDiscsRec disc{};
    fw::File listings;
    fw::File discs;
};

DiscTrackCopier::DiscTrackCopier(BookFiles book) : book_(std::move(book)), files_(std::make_unique<Files>(book_)) {}

DiscTrackCopier::~DiscTrackCopier() { Close(); }

bool DiscTrackCopier::Open(std::string* problem) {
    for (fw::File* f : {&files_->listings, &files_->discs}) {
        fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
        if (fw::ERRORCODE() == 0) continue;
        if (problem) *problem = fw::NAME(*f) + ": " + fw::ERROR();
        Close();
        return false;
    }
    return true;
}

void DiscTrackCopier::Close() {
    if (inBatch_) {  // not finished: nothing of the open batch stays
        fw::ROLLBACK();
        inBatch_ = false;
        pending_.clear();
    }
    fw::CLOSE(files_->listings);
    fw::CLOSE(files_->discs);
}

bool DiscTrackCopier::BeginBatch(CopyCounts& counts, const std::string& unq, const std::string& alt, std::size_t tracks) {
    if (inBatch_) return true;
    if (!keysDecided_) {
        // Once for the run, from this disc's tracks as many as each disc left.
        keysDecided_ = true;
        const long discsLeft = std::max(1L, static_cast<long>(expectedDiscs_) - counts.discsDone + 1);
        deferKeys_ = fw::KeysOnceIsQuicker(files_->listings, discsLeft * static_cast<long>(tracks));
    }
    fw::LOGOUT(shell::integrity::kLogoutSeconds, files_->discs, files_->listings);
    if (fw::ERRORCODE() != 0) {
        counts.notAdded.push_back({unq, alt, WriteFailedReason(ErrorText())});
        return false;
    }
    // Only the listings: SBDiscs takes a disc per look-up by a key it would drop.
    if (deferKeys_) fw::DeferKeys(files_->listings);
    fw::ClearError();  // a key not dropped is kept row by row, as without
    inBatch_ = true;
    batchStarted_ = NowMs();
    return true;
}

void DiscTrackCopier::Commit(CopyCounts& counts) {
    if (!inBatch_) return;
    inBatch_ = false;
    if (failCommit_ != 0 && ++commits_ == failCommit_) {
        fw::ROLLBACK();
        fw::SetFileError(fw::FileSystemErr, "SongBook", "Disk I/O error");
    } else {
        const long long started = NowMs();
        fw::COMMIT();
        lastCommitMs_ = NowMs() - started;
    }
    if (fw::ERRORCODE() == 0) {
        for (const Pending& p : pending_) {
            counts.tracksAdded += p.added;
            counts.duplicateTracks += p.duplicates;
        }
    } else {
        const std::string reason = CommitFailedReason(ErrorText());
        for (const Pending& p : pending_) counts.notAdded.push_back({p.unq, p.alt, reason});
    }
    pending_.clear();
}

void DiscTrackCopier::Finish(CopyCounts& counts) { Commit(counts); }

bool DiscTrackCopier::Write(bool disc) {
    if (failWrite_ != 0 && ++writes_ == failWrite_) {
        fw::SetFileError(fw::FileSystemErr, disc ? "SBDiscs" : "SongBook", "No space left on device");
        return false;
    }
    fw::ADD(disc ? files_->discs : files_->listings);
    return fw::ERRORCODE() == 0;
}

void DiscTrackCopier::AddDisc(const shell::TagEntry& tag, std::int32_t today, CopyCounts& counts) {
    ++counts.discsDone;
    Copy(tag, today, counts);
}

void DiscTrackCopier::Copy(const shell::TagEntry& tag, std::int32_t today, CopyCounts& counts) {
    const std::string unq = fw::CLIP(tag.unq);
    const std::string alt = ClipCustomId(tag.alt);
    auto refuse = [&](std::string reason) { counts.notAdded.push_back({unq, alt, std::move(reason)}); };

    // The disc's tracks, in track order; disc IDs compare as the key does.
    std::vector<shell::KaraokeRec> tracks;
    {
        fw::File& karaoke = shell::KARAOKE();
        const fw::Key key = karaoke.FindKey("KAR:KDISK");
        fw::ClearRecord(&KAR, shell::KaraokeRec::Decl());
        KAR.UnqDiskID = unq;
        fw::SET(key, key);
        for (fw::NEXT(karaoke); fw::ERRORCODE() == 0 && shell::SameDiscId(KAR.UnqDiskID.Clip(), unq); fw::NEXT(karaoke))
            tracks.push_back(KAR);
        const int code = fw::ERRORCODE();
        if (code != 0 && code != fw::RecordNotAvailable && tracks.empty()) return refuse(WriteFailedReason(fw::ERROR()));
    }
    if (tracks.empty()) return refuse(NoTracksReason());

    shell::SBDiscsRec& disc = files_->disc;
    shell::SongBookRec& listing = files_->listing;
    fw::ClearRecord(&disc, shell::SBDiscsRec::Decl());
    disc.UNQDISKID = unq;
    fw::GET(files_->discs, files_->discs.FindKey("SBD:KUNQDISKID"));
    const bool discInBook = fw::ERRORCODE() == 0;
    if (!discInBook) {
        if (alt.empty()) return refuse(BlankCustomIdReason());
        fw::ClearRecord(&disc, shell::SBDiscsRec::Decl());
        disc.ALTDISKID = alt;
        fw::GET(files_->discs, files_->discs.FindKey("SBD:KALTDISKID"));
        if (fw::ERRORCODE() == 0) return refuse(CustomIdTakenReason(alt, disc.UNQDISKID.Clip()));
    }

    // The tracks the book has of this disc already.
    std::set<std::uint32_t> present;
    {
        const fw::Key key = files_->listings.FindKey("SBK:KUnqDiskID");
        fw::ClearRecord(&listing, shell::SongBookRec::Decl());
        listing.UnqDiskID = unq;
        fw::SET(key, key);
        for (fw::NEXT(files_->listings); fw::ERRORCODE() == 0 && shell::SameDiscId(listing.UnqDiskID.Clip(), unq);
             fw::NEXT(files_->listings))
            present.insert(listing.DISKTRACKNO);
    }
    std::vector<const shell::KaraokeRec*> fresh;
    int duplicates = 0;
    for (const shell::KaraokeRec& t : tracks) {
        if (present.insert(t.DiskTrackNo).second) fresh.push_back(&t);
        else ++duplicates;
    }
    if (fresh.empty()) {
        counts.duplicateTracks += duplicates;
        return;
    }

    const fw::FString<2> makeCode{fw::UPPER(fw::SUB(tracks.front().UnqDiskID.Str(), 1, 2))};
    if (!BeginBatch(counts, unq, alt, fresh.size())) return;
    // Careful (after a failure): the disc under a save point of its own.
    bool ok = true;
    if (careful_) {
        fw::SavePoint();
        ok = fw::ERRORCODE() == 0;
    }
    if (ok && !discInBook) {
        fw::ClearRecord(&disc, shell::SBDiscsRec::Decl());
        disc.UNQDISKID = tracks.front().UnqDiskID;
        disc.MakeID = tracks.front().MAKEID;
        disc.MAKETYPE = makeCode;
        disc.ALTDISKID = alt;
        ok = Write(true);
    }
    for (std::size_t i = 0; ok && i < fresh.size(); ++i) {
        const shell::KaraokeRec& t = *fresh[i];
        fw::ClearRecord(&listing, shell::SongBookRec::Decl());
        listing.Title = t.Title;
        listing.Artist = t.Artist;
        listing.UnqDiskID = t.UnqDiskID;
        listing.DISKTRACKNO = t.DiskTrackNo;
        listing.GENRE = fw::CLIP(tag.genre);
        listing.DateAdded = today;
        listing.MAKEID = makeCode;
        ok = Write(false);
    }
    if (ok && careful_) {
        fw::ReleaseSavePoint();
        ok = fw::ERRORCODE() == 0;
    }
    if (ok) {
        pending_.push_back({tag, unq, alt, static_cast<int>(fresh.size()), duplicates});
    } else if (careful_) {
        const std::string error = ErrorText();
        fw::RollbackToSavePoint();
        refuse(WriteFailedReason(error));
    } else {
        // Without a save point the batch goes back whole: the discs written
        // before this one are written again, each under a save point now.
        const std::string error = ErrorText();
        std::vector<Pending> again = std::move(pending_);
        pending_.clear();
        fw::ROLLBACK();
        inBatch_ = false;
        careful_ = true;
        refuse(WriteFailedReason(error));
        for (const Pending& p : again) Copy(p.tag, today, counts);
        return;
    }
    // With the keys made at the commit, the run is one batch.
    if (!deferKeys_ && NowMs() - batchStarted_ >= std::max(kBatchMilliseconds, kBatchPerCommit * lastCommitMs_))
        Commit(counts);
}

}  // namespace songbase
