#include "songbase/own_tracks.h"

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/data/transaction.h"
#include "platform/runtime/error_state.h"
#include "platform/text/clock.h"
#include "platform/text/codepage.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"
#include "shell/integrity_results.h"
#include "shell/saved_error.h"
#include "shell/warnings.h"

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

namespace {

// A keyed look-up of SBDiscs that leaves the buffer as it was; true when found,
// with the found record in `found`.
bool FindDisc(const char* key, shell::SBDiscsRec probe, shell::SBDiscsRec* found = nullptr) {
    fw::File& discs = shell::SBDiscs();
    const shell::SBDiscsRec kept = SBD;
    SBD = probe;
    fw::GET(discs, discs.FindKey(key));
    const bool hit = fw::ERRORCODE() == 0;
    if (hit && found) *found = SBD;
    SBD = kept;
    fw::ClearError();
    return hit;
}

}  // namespace

std::uint32_t NextFreeTrack(std::string_view unq) {
    fw::File& book = shell::SongBook();
    const shell::SongBookRec kept = SBK;
    const fw::Key key = book.FindKey("SBK:KUnqDiskID");
    fw::ClearRecord(&SBK, shell::SongBookRec::Decl());
    SBK.UnqDiskID = unq;
    SBK.DISKTRACKNO = 0;
    fw::SET(key, key);
    std::uint32_t highest = 0;
    for (fw::NEXT(book); fw::ERRORCODE() == 0; fw::NEXT(book)) {
        if (fw::CompareFolded(SBK.UnqDiskID.View(), unq) != 0 || SBK.DISKTRACKNO > kCountedTracks) break;
        highest = SBK.DISKTRACKNO;
    }
    SBK = kept;
    fw::ClearError();
    return highest + 1;
}

AddTrackResult AddOwnTrack(std::string& customId) {
    fw::File& discs = shell::SBDiscs();
    fw::File& book = shell::SongBook();
    const std::string chosen(SBK.UnqDiskID.Clip());

    fw::LOGOUT(shell::integrity::kLogoutSeconds, discs, book);
    bool newDisc = false;
    if (fw::ERRORCODE() == 0) {
        shell::SBDiscsRec probe{};
        probe.ALTDISKID = fw::UpperText(chosen);
        shell::SBDiscsRec disc{};
        if (FindDisc("SBD:KALTDISKID", probe, &disc)) {
            SBD = disc;
        } else {
            fw::ClearRecord(&SBD, shell::SBDiscsRec::Decl());
            SBD.UNQDISKID = chosen;
            SBD.ALTDISKID = chosen;
            newDisc = !FindDisc("SBD:KUNQDISKID", SBD, &disc);
            if (!newDisc) SBD = disc;
        }
        SBK.UnqDiskID = SBD.UNQDISKID;
        customId = SBD.ALTDISKID.Str();
        if (newDisc) fw::ADD(discs);
    }
    bool listingFailed = false;
    if (fw::ERRORCODE() == 0) {
        SBK.DateAdded = fw::TODAY();
        fw::ADD(book);
        listingFailed = fw::ERRORCODE() != 0;
    }
    if (fw::ERRORCODE() == 0) fw::COMMIT();
    if (fw::ERRORCODE() == 0) return AddTrackResult::Added;

    const int code = fw::ERRORCODE();
    shell::SaveErrorAndRollBack();
    SBK.UnqDiskID = chosen;  // the form goes on showing the custom disc ID
    if (listingFailed && code == fw::DupKeyErr) {  // SBK:KUnqDiskID, the listings' one unique key
        shell::TakeReportedError();  // told as the track being in use
        return AddTrackResult::TrackInUse;
    }
    shell::ShowWarningNoText(14);
    return AddTrackResult::Failed;
}

NewDiscProblem CheckNewDisc(std::string* existingCustomId) {
    if (SBD.ALTDISKID.Blank()) return NewDiscProblem::NoCustomId;
    if (FindDisc("SBD:KALTDISKID", SBD)) return NewDiscProblem::CustomIdUsed;
    shell::SBDiscsRec existing{};
    if (FindDisc("SBD:KUNQDISKID", SBD, &existing)) {
        if (existingCustomId) *existingCustomId = existing.ALTDISKID.Str();
        return NewDiscProblem::UniqueIdExists;
    }
    return NewDiscProblem::None;
}

std::string DiscExistsText(std::string_view existingCustomId) {
    return "This Disc Already Exists in the SongBook||Custom Disc ID: " + std::string(existingCustomId) +
           "||Duplicate Disc Entries are not Allowed.";
}

std::string TrackLimitText() {
    return "Track# cannot be higher than " + std::to_string(kHighestTrackNo) + ".";
}

}  // namespace songbase
