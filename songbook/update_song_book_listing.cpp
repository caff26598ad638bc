#include "songbook/update_song_book_listing.h"

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/data/transaction.h"
#include "platform/runtime/error_state.h"
#include "platform/text/clock.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/help_convention.h"
#include "shell/integrity_results.h"
#include "shell/integrity_updates.h"
#include "shell/record_form.h"
#include "songbook/delete_track.h"

#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbook {

namespace {

constexpr const char* kTitleEntry = "?SBK:TITLE";
constexpr const char* kMfgDiscEntry = "?SBK:UNQDISKID";
constexpr const char* kAltDiscEntry = "?SBD:ALTDISKID";

// The brand of the disc the caller left in SBD: a new disc takes it.
struct TemplateBrand {
    fw::FString<2> makeType;
    std::int32_t makeId = 0;
};

// Whether a disc other than the one in SBD has this value in a key of
// SBDiscs, compared as the key compares (letter case ignored). SBD is left
// as it was, so what the user typed stays on the form.
bool DiscKeyTaken(const char* keyName, fw::FString<15> shell::SBDiscsRec::*field, const fw::FString<15>& value) {
    const shell::SBDiscsRec kept = SBD;
    fw::File& discs = shell::SBDiscs();
    SBD.*field = value;
    fw::GET(discs, discs.FindKey(keyName));
    const bool found = fw::ERRORCODE() == 0;
    SBD = kept;
    fw::SetError(0);
    return found;
}

// The custom disc ID the new disc gets: the one typed, else its Mfg. Disc ID.
void DefaultAltDiscId() {
    if (SBD.ALTDISKID.Blank()) SBD.ALTDISKID = SBK.UnqDiskID;
}

void Refuse(std::string_view text, const char* entry) {
    fw::MESSAGE(text, {}, fw::Icon::None, fw::Button::Ok, fw::Button::Ok);
    fw::SELECT(entry);
}

// The insert's checks on the two disc IDs, before the accept-all pass.
bool NewDiscChecks() {
    if (SBK.UnqDiskID.Blank()) {
        Refuse(kBlankMfgDiscIdText, kMfgDiscEntry);
        return false;
    }
    if (DiscKeyTaken("SBD:KUNQDISKID", &shell::SBDiscsRec::UNQDISKID, SBK.UnqDiskID)) {
        Refuse(kMfgDiscIdExistsText, kMfgDiscEntry);
        return false;
    }
    DefaultAltDiscId();
    fw::DISPLAY(kAltDiscEntry);  // the accept-all pass reads the entry back
    if (SBD.ALTDISKID.Clip() == kDisclessDiscId) {
        Refuse(kDisclessAltDiscIdText, kAltDiscEntry);
        return false;
    }
    if (DiscKeyTaken("SBD:KALTDISKID", &shell::SBDiscsRec::ALTDISKID, SBD.ALTDISKID)) {
        Refuse(kAltDiscIdExistsText, kAltDiscEntry);
        return false;
    }
    return true;
}

// The new disc and its first listing in one transaction. On any failure
// the error is saved for the form's warning, everything is rolled back and
// ERRORCODE is left for the form (40 with a duplicate disc and track).
void AddDiscAndListing(const TemplateBrand& brand) {
    fw::File& discs = shell::SBDiscs();
    fw::File& listings = shell::SongBook();
    DefaultAltDiscId();
    SBD.UNQDISKID = SBK.UnqDiskID;
    SBD.MAKETYPE = brand.makeType;
    SBD.MakeID = brand.makeId;

    const auto failed = [] {
        const int code = fw::ERRORCODE();
        shell::SaveErrorAndRollBack();
        fw::SetError(code);
    };
    fw::LOGOUT(shell::integrity::kLogoutSeconds, discs, listings);
    if (fw::ERRORCODE()) return failed();
    fw::ADD(discs);
    if (fw::ERRORCODE()) return failed();
    fw::ADD(listings);
    if (fw::ERRORCODE()) return failed();
    fw::COMMIT();
    if (fw::ERRORCODE()) return failed();
}

// The listing's disc, so Alternate Disk ID shows its custom ID; a disc not
// in the book shows blank. Not during the accept-all pass.
void LoadListingDisc() {
    if (fw::GetProp({}, fw::Prop::AcceptAll).Bool()) return;
    fw::File& discs = shell::SBDiscs();
    SBD.UNQDISKID = SBK.UnqDiskID;
    fw::GET(discs, discs.FindKey("SBD:KUNQDISKID"));
    if (fw::ERRORCODE()) fw::ClearRecord(&SBD, *shell::SBDiscsFile().record);
    fw::SetError(0);
}

}  // namespace

shell::FormMemory& ListingFormMemory() {
    static shell::FormMemory memory;
    return memory;
}

namespace {
void RunListingForm(bool onItsDisc) {
    const bool inserting = shell::RequestedAction() == shell::action::Insert;
    const TemplateBrand brand{SBD.MAKETYPE, SBD.MakeID};

    shell::RecordFormPlan desc;
    desc.window = std::string(kListingFormWindow);
    desc.record = &shell::SongBookRec::Decl();
    desc.buffer = [] { return static_cast<void*>(&shell::SongBookBuffer()); };
    desc.memory = &ListingFormMemory();
    desc.files = {&shell::SBDiscsFile(), &shell::SongBookFile()};
    desc.use = [](fw::Window& w) {
        w.Use("?SBK:TITLE", SBK.Title);
        w.Use("?SBK:ARTIST", SBK.Artist);
        w.Use("?SBK:DISKTRACKNO", SBK.DISKTRACKNO);
        w.Use("?SBK:DATEADDED", SBK.DateAdded);
        w.Use("?SBK:MAKEID", SBK.MAKEID);
        w.Use("?SBK:PRINT", SBK.PRINT);
        w.Use("?SBD:ALTDISKID", SBD.ALTDISKID);
        w.Use("?SBK:UNQDISKID", SBK.UnqDiskID);
    };
    desc.firstField = kTitleEntry;
    desc.okButton = "?OK";
    desc.cancelButton = "?CANCEL";
    desc.helpButton = "?HELP";
    desc.messageControl = "?ACTIONMESSAGE";
    if (!onItsDisc) desc.insertOnly = {kAltDiscEntry, kMfgDiscEntry};
    desc.ditto = {{"?SBK:TITLE", "SBK:Title"},        {"?SBK:ARTIST", "SBK:Artist"},
                  {"?SBK:DISKTRACKNO", "SBK:DISKTRACKNO"}, {"?SBK:DATEADDED", "SBK:DateAdded"},
                  {"?SBK:MAKEID", "SBK:MAKEID"},      {"?SBK:PRINT", "SBK:PRINT"},
                  {"?SBK:UNQDISKID", "SBK:UnqDiskID"}};
    desc.insertMessage = std::string(kListingAddedText);
    desc.changeMessage = std::string(kListingChangedText);
    desc.icon = "~songbook.ico";

    desc.openHook = shell::SongBookFormOpenHook;
    desc.prime = [] { SBK.DateAdded = static_cast<std::int32_t>(fw::TODAY()); };
    desc.redraw = LoadListingDisc;
    if (inserting && !onItsDisc) desc.checks = NewDiscChecks;
    desc.help = [] { shell::ShowProgramHelp(kListingFormHelpTopic); };

    if (onItsDisc) desc.insert = [] { fw::ADD(shell::SongBook()); };
    else desc.insert = [&brand] { AddDiscAndListing(brand); };
    desc.file = &shell::SongBook();
    desc.uniqueKey = "SBK:KUnqDiskID";
    desc.update = [] { return shell::UpdateSongBookRecord(1); };
    desc.remove = [] { return DeleteListingAndEmptyDisc(); };

    shell::RunRecordForm(desc);
}
}  // namespace

void UpdateSongBookListing() { RunListingForm(false); }
void UpdateDiscTrackListing() { RunListingForm(true); }

}  // namespace songbook
