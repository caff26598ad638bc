#include "songbook/delete_track.h"

#include "platform/data/file_ops.h"
#include "platform/data/transaction.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "platform/text/fixed_string.h"
#include "shell/data_files.h"
#include "shell/integrity_deletes.h"
#include "shell/integrity_results.h"
#include "shell/warnings.h"

#include "shell/data_dictionary_prefixes.h"

namespace songbook {

namespace {

using shell::integrity::Done;
using shell::integrity::Failed;

long Fail(int warning, std::string_view label) {
    shell::SaveErrorAndRollBack();
    shell::ShowWarningOneText(warning, label);
    return Failed;
}

bool Begin(std::string_view label) {
    fw::LOGOUT(shell::integrity::kLogoutSeconds, shell::SongBook(), shell::SBDiscs());
    if (fw::ERRORCODE() == 0) return true;
    shell::SaveErrorAndRollBack();
    shell::ShowWarning(34, "Delete", label);
    return false;
}

// Whether a listing of the disc is left, compared as the key compares.
// Leaves ERRORCODE set on a read error.
bool DiscHasListings(const fw::FString<15>& disc) {
    fw::File& book = shell::SongBook();
    const fw::Key byDisc = book.FindKey("SBK:KUnqDiskID");
    fw::ClearRecord(&SBK, book.Record());
    SBK.UnqDiskID = disc;
    SBK.DISKTRACKNO = 0;
    fw::SET(byDisc, byDisc);
    fw::NEXT(book);
    if (fw::ERRORCODE() == fw::RecordNotAvailable) {
        fw::ClearError();
        return false;
    }
    return fw::ERRORCODE() == 0 && fw::CompareFolded(SBK.UnqDiskID.View(), disc.View()) == 0;
}

// Inside the transaction: the disc record of SBD.UNQDISKID, when there is one.
long DeleteDiscRecord() {
    fw::File& discs = shell::SBDiscs();
    fw::GET(discs, discs.FindKey("SBD:KUNQDISKID"));
    if (fw::ERRORCODE() == fw::RecordNotAvailable) return Done;
    if (fw::ERRORCODE() != 0) return Fail(35, "SBDiscs");
    fw::DELETE(discs);
    return fw::ERRORCODE() == 0 ? Done : Fail(17, "SBDiscs");
}

long Commit() {
    fw::COMMIT();
    return fw::ERRORCODE() == 0 ? Done : Fail(17, "SongBook");
}

}  // namespace

long DeleteListingAndEmptyDisc() {
    const fw::FString<15> disc = SBK.UnqDiskID;
    if (!Begin("SongBook")) return Failed;
    fw::File& book = shell::SongBook();
    fw::GET(book, book.FindKey("SBK:KUnqDiskID"));
    if (fw::ERRORCODE() != 0) return Fail(35, "SongBook");
    fw::DELETE(book);
    if (fw::ERRORCODE() != 0) return Fail(17, "SongBook");
    const bool left = DiscHasListings(disc);
    if (fw::ERRORCODE() != 0) return Fail(35, "SongBook");
    if (!left) {
        SBD.UNQDISKID = disc;
        if (DeleteDiscRecord() != Done) return Failed;
    }
    return Commit();
}

long DeleteEntireDisc() {
    const fw::FString<15> disc = SBD.UNQDISKID;
    if (!Begin("SBDiscs")) return Failed;
    if (shell::DeleteDiscListings() != Done) return Failed;  // rolled back and reported
    SBD.UNQDISKID = disc;
    if (DeleteDiscRecord() != Done) return Failed;
    return Commit();
}

}  // namespace songbook
