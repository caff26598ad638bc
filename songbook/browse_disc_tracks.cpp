#include "songbook/browse_disc_tracks.h"

#include "platform/data/bind.h"
#include "platform/text/codepage.h"
#include "platform/ui/events.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/browse_page.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "songbook/update_song_book_listing.h"

#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbook {

namespace {
constexpr const char* kSavedDiscName = "BRW1::Sort1:Save:SBK:UnqDiskID";
}  // namespace

void BrowseSongBookDiscTracks() {
    shell::FileUse bookInUse(shell::SongBookFile());
    shell::FileUse discsInUse(shell::SBDiscsFile());
    fw::File& book = shell::SongBook();
    fw::File& discs = shell::SBDiscs();

    fw::PUSHBIND();
    fw::FString<15> savedDisc = SBK.UnqDiskID;  // the disc shown; follows the buffer's
    fw::FString<15> rememberedDisc = savedDisc;
    fw::BIND(kSavedDiscName, savedDisc);
    fw::BIND(book);
    fw::BIND(discs);
    const std::string caption = std::string(kDiscTracksCaption) + std::string(SBD.ALTDISKID.Clip());

    shell::BrowsePlan desc;
    desc.primary = &book;
    desc.orders = {{book.FindKey("SBK:KUnqDiskID")}};
    desc.joins = [&discs](fw::View& v) { v.Join(discs.FindKey("SBD:KUNQDISKID"), {"SBK:UnqDiskID"}); };
    desc.filter = "UPPER(SBK:UnqDiskID) = UPPER(" + std::string(kSavedDiscName) + ")";
    desc.columns = [] {
        return fw::ui::ListRow{std::to_string(SBK.DISKTRACKNO), SBK.Title.Str(), SBK.Artist.Str()};
    };
    desc.form = [&rememberedDisc] {
        // An insert starts a new track on this disc.
        if (shell::RequestedAction() == shell::action::Insert) SBK.UnqDiskID = rememberedDisc;
        UpdateDiscTrackListing();
    };

    fw::Window window(kDiscTracksWindow);
    window.Open();
    fw::SetSystemIcon("~songbook.ico");
    window.Set(fw::Prop::Text, caption);
    fw::DISABLE("?SELECT");
    shell::WindowBrowseList list("?LIST", {"?INSERT", "?CHANGE", "?DELETE", ""});
    shell::PagedBrowse browse(desc, list);

    while (window.Accept()) {
        if (window.Event() == fw::Event::GainFocus) browse.RequestResync();
        browse.TakeEvent(window.Event(), window.Field(), fw::KEYCODE());
        if (fw::ACCEPTED() == "?CLOSE") fw::POST(fw::Event::CloseWindow);
        browse.SyncBrowse();
        // A listing given another disc: the list follows it.
        if (!SBK.UnqDiskID.Blank() && fw::CompareFolded(SBK.UnqDiskID.View(), rememberedDisc.View()) != 0) {
            rememberedDisc = SBK.UnqDiskID;
            savedDisc = rememberedDisc;
            browse.ReopenView();
            browse.ReloadPage(shell::ReloadKind::FromTop);
        }
    }
    fw::POPBIND();
    shell::ActionOutcome() = shell::outcome::Cancelled;
}

}  // namespace songbook
