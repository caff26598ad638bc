#include "shell/integrity_deletes.h"

#include "shell/checked_open.h"
#include "shell/data_files.h"
#include "shell/integrity_results.h"
#include "shell/warnings.h"

#include "platform/data/file_ops.h"
#include "platform/data/transaction.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"

#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace shell {

long DeleteSongBookListing() {
    fw::File& book = SongBook();
    const fw::Key byTitle = book.FindKey("SBK:KTITLE");
    const std::string position = fw::POSITION(byTitle);
    fw::LOGOUT(integrity::kLogoutSeconds, book);
    if (fw::ERRORCODE()) {
        SaveErrorAndRollBack();
        ShowWarning(34, "Delete", "SongBook");
        return integrity::Failed;
    }
    fw::REGET(byTitle, position);
    if (fw::ERRORCODE() == 0) fw::DELETE(book);
    if (fw::ERRORCODE() == 0) fw::COMMIT();
    if (fw::ERRORCODE()) {
        SaveErrorAndRollBack();
        ShowWarningOneText(17, "SongBook");
        return integrity::Failed;
    }
    return integrity::Done;
}

long DeleteDiscListings() {
    fw::File& book = SongBook();
    const fw::Key byDisc = book.FindKey("SBK:KUnqDiskID");
    fw::ClearRecord(&SBK, book.Record());
    SBK.UnqDiskID = SBD.UNQDISKID;
    SBK.DISKTRACKNO = 0;
    fw::SET(byDisc, byDisc);
    for (;;) {
        fw::NEXT(book);
        if (fw::ERRORCODE() == fw::RecordNotAvailable) return integrity::Done;
        if (fw::ERRORCODE()) {
            SaveErrorAndRollBack();
            ShowWarningOneText(35, "SongBook");
            return integrity::Failed;
        }
        // The key files listings whose disc IDs differ only in case or
        // trailing blanks together: they are all this disc's.
        if (fw::CompareFolded(SBK.UnqDiskID.View(), SBD.UNQDISKID.View()) != 0) return integrity::Done;
        fw::DELETE(book);
        if (fw::ERRORCODE()) {
            SaveErrorAndRollBack();
            ShowWarningOneText(17, "SongBook");
            return integrity::Failed;
        }
    }
}

long DeleteDiscWithListings() {
    fw::File& discs = SBDiscs();
    const fw::Key byDisc = discs.FindKey("SBD:KUNQDISKID");
    const std::string position = fw::POSITION(byDisc);
    FileUse bookInUse(SongBookFile(), true);
    fw::LOGOUT(integrity::kLogoutSeconds, discs, SongBook());
    if (fw::ERRORCODE()) {
        SaveErrorAndRollBack();
        ShowWarning(34, "Delete", "SBDiscs");
        return integrity::Failed;
    }
    fw::REGET(byDisc, position);
    if (fw::ERRORCODE() == 0) {
        if (DeleteDiscListings() != integrity::Done) {
            if (fw::InTransaction()) fw::ROLLBACK();
            return integrity::Failed;
        }
        fw::DELETE(discs);
    }
    if (fw::ERRORCODE() == 0) fw::COMMIT();
    if (fw::ERRORCODE()) {
        SaveErrorAndRollBack();
        ShowWarningOneText(17, "SBDiscs");
        return integrity::Failed;
    }
    return integrity::Done;
}

}  // namespace shell
