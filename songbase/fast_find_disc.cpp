#include "songbase/fast_find_disc.h"

#include "platform/data/bind.h"
#include "platform/data/file_ops.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/browse_page.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/tag_list.h"
#include "songbase/add_mfr_discs.h"
#include "songbase/browse_song_base_disc_tracks.h"
#include "songbase/custom_disc_id.h"
#include "songbase/mfr_disc_tagging.h"
#include "songbase/song_base_pick_lists.h"
#include "songbase/song_base_rows.h"

#include <memory>
#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

namespace {

constexpr const char* kTitleCombo = "?STI:TITLE";
constexpr const char* kSearchButton = "?BUTTON6";
constexpr const char* kList = "?LIST";
constexpr const char* kTitleName = "PassTitle";

// "Tag Disc and Return" on the highlighted disc; true when the window closes.
bool TagHighlighted(const std::weak_ptr<shell::TagList>& owner) {
    const std::shared_ptr<shell::TagList> tags = owner.lock();
    if (!tags) return true;  // the add-discs window has gone
    const MfrDisc disc{KAR.UnqDiskID.Str(), KAR.DISKID.Str()};
    if (tags->FindDisc(disc.unq)) {
        fw::MESSAGE(kAlreadyTaggedText);
        return false;
    }
    // The disc in the book is refused; otherwise the custom-ID prompt, and
    // every check again once it returns, since other windows ran meanwhile.
    MfrDiscTagging tagging(*tags, CustomDiscId, {});
    tagging.Toggle(disc);
    return true;
}

}  // namespace

void FastFindDisc() {
    struct Outcome {
        ~Outcome() { shell::ActionOutcome() = shell::outcome::Cancelled; }
    } outcome;
    AddDiscsSession* session = AddDiscsSessionOpen();
    if (!session) return;  // only the add-discs window starts it
    const std::weak_ptr<shell::TagList> tags = session->tags;

    shell::FileUse brands(shell::DMakeFile());
    shell::FileUse tracks(shell::KaraokeFile());
    shell::FileUse bookDiscs(shell::SBDiscsFile());
    shell::FileUse titleFile(shell::STitleFile());
    fw::FString<40> passTitle;
    fw::PUSHBIND();
    fw::BIND(kTitleName, passTitle);
    struct Unbind {
        ~Unbind() { fw::POPBIND(); }
    } unbind;

    fw::Window window{std::string(kFastFindWindow)};
    window.Use(kTitleCombo, STI.Title);
    window.Open();
    fw::SetSystemIcon("~songbook.ico");

    shell::BrowsePlan desc;
    fw::File& karaoke = shell::KARAOKE();
    desc.primary = &karaoke;
    desc.orders = {{karaoke.FindKey("KAR:KTITLE")}};
    desc.joins = JoinBrand;
    desc.filter = std::string("UPPER(KAR:Title) = UPPER(") + kTitleName + ") AND (KAR:DiskTrackNo = 1)";
    desc.columns = [] { return fw::ui::ListRow{KAR.UnqDiskID.Str(), BRA.MAKE.Str()}; };
    shell::WindowBrowseList list(kList, {"?INSERT", "?CHANGE", "?DELETE", ""});
    shell::PagedBrowse browse(desc, list);
    std::shared_ptr<const fw::PickList> titles;

    while (fw::ACCEPT()) {
        const int event = fw::EVENT();
        if (tags.expired()) {  // its add-discs window has closed
            fw::POST(fw::Event::CloseWindow);
            continue;
        }
        if (event == fw::Event::OpenWindow) {
            titles = SongBaseTitles();
            if (!titles) {
                fw::POST(fw::Event::CloseWindow);
                continue;
            }
            fw::SetPickList(kTitleCombo, titles);
            browse.SyncBrowse();
            fw::DISPLAY();
            fw::SELECT(kTitleCombo);
            continue;
        }
        if (event == fw::Event::GainFocus) browse.RequestResync();
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == kTitleCombo) {
            if (const std::size_t i = titles->Find(STI.Title.Clip()); i != fw::PickList::npos) {
                STI.Title = titles->At(i);
                fw::DISPLAY(kTitleCombo);
            } else {
                fw::SELECT(kTitleCombo);
            }
        } else if (accepted == kSearchButton) {
            if (STI.Title.Blank()) {
                fw::MESSAGE(kNoTitleText);
                fw::SELECT(kTitleCombo);
            } else {
                passTitle = STI.Title;
                fw::SEND(karaoke, "QUICKSCAN=on");
                browse.Restart();
                fw::SEND(karaoke, "QUICKSCAN=off");
                fw::SELECT(kList);
            }
        } else if (accepted == "?CHANGE" || accepted == "?INSERT" || accepted == "?DELETE") {
            browse.RereadHighlighted();
            if (browse.RowsLoaded() > 0) {
                shell::RequestedAction() = shell::action::Change;
                BrowseSongBaseDiscTracks();
            }
            browse.ReloadPage(shell::ReloadKind::FromPage);
        } else if (accepted == "?TAGBUTTON") {
            browse.RereadHighlighted();
            if (browse.RowsLoaded() > 0 && TagHighlighted(tags)) fw::POST(fw::Event::CloseWindow);
        } else if (accepted == "?CLOSE") {
            fw::POST(fw::Event::CloseWindow);
        } else {
            browse.TakeEvent(event, fw::FIELD().number, fw::KEYCODE());
        }
        browse.SyncBrowse();
    }
}

}  // namespace songbase
