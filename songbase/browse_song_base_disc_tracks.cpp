#include "songbase/browse_song_base_disc_tracks.h"

#include "platform/data/bind.h"
#include "platform/data/file_ops.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/browse_page.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "songbase/held_song_book.h"
#include "songbase/song_base_rows.h"

#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kSaveName = "BRW1::Sort1:Save:KAR:UnqDiskID";

// The legend of the red rows, or "Not Active, SongBook not Open!".
void ShowLegend(bool bookOpen) {
    for (const char* legend : {"?STRING2", "?STRING2:2", "?STRING2:3"}) {
        if (bookOpen) fw::UNHIDE(legend);
        else fw::HIDE(legend);
    }
    if (bookOpen) fw::HIDE("?STRING6");
    else fw::UNHIDE("?STRING6");
}

// A track's row: title, artist and track, each with its four colours (red
// text when the open book has the song), then the disc ID.
fw::ui::ListRow MarkDuplicateTracks(const HeldSongBook& book) {
    const bool duplicate = book.HasSong(KAR.Title.View(), KAR.Artist.View());
    const std::string fg = std::to_string(duplicate ? kDuplicateTrackColor : -1);
    const std::string none = "-1";
    fw::ui::ListRow row;
    for (std::string value : {KAR.Title.Str(), KAR.Artist.Str(), std::to_string(KAR.DiskTrackNo)}) {
        row.push_back(std::move(value));
        row.insert(row.end(), {fg, none, fg, none});
    }
    row.push_back(KAR.UnqDiskID.Str());
    return row;
}

}  // namespace

void BrowseSongBaseDiscTracks() {
    const bool selectMode = TakeSelectRequest();
    int response = shell::outcome::Cancelled;
    std::string heading = std::string(BRA.MAKE.Clip()) + " - " + std::string(KAR.UnqDiskID.Clip());
    fw::FString<50> diskMakeId{heading.substr(0, 50)};
    fw::FString<15> shownDisc = KAR.UnqDiskID;
    shell::FileUse brands(shell::DMakeFile());
    shell::FileUse songBase(shell::KaraokeFile());
    HeldSongBook book;
    fw::PUSHBIND();
    fw::BIND(kSaveName, shownDisc);

    fw::Window window("P1$SONGBASEDISCTRACKS");
    window.Use("?DISKMAKEID", diskMakeId);
    window.Open();
    fw::SetSystemIcon("~songbook.ico");
    ShowSelectButton(selectMode);
    ShowLegend(book.IsOpen());

    shell::BrowsePlan desc;
    fw::File& tracks = shell::KARAOKE();
    desc.primary = &tracks;
    desc.orders = {{tracks.FindKey("KAR:KDISK")}};
    desc.filter = std::string("UPPER(KAR:UnqDiskID) = UPPER(") + kSaveName + ")";
    desc.columns = [&book] { return MarkDuplicateTracks(book); };
    desc.selectMode = selectMode;
    shell::WindowBrowseList list(kList, {"?INSERT", "?CHANGE", "?DELETE", "?SELECT"});
    shell::PagedBrowse browse(desc, list);
    browse.SyncBrowse();

    while (fw::ACCEPT()) {
        const int event = fw::EVENT();
        if (event == fw::Event::GainFocus || event == fw::Event::Timer) {
            const bool changed = book.Follow();
            if (changed) ShowLegend(book.IsOpen());
            if (changed || event == fw::Event::GainFocus) browse.RequestResync();
        }
        const fw::FieldId field = fw::FIELD();
        if (field == kList && event == fw::Event::AlertKey && fw::KEYCODE() == fw::KeyCode::MouseRight) {
            SelectPopup(selectMode && browse.RowsLoaded() > 0);
            continue;
        }
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == "?INSERT" || accepted == "?CHANGE" || accepted == "?DELETE") {
            // Nothing to edit here: the row is read again and the page with it.
            browse.RereadHighlighted();
            browse.ReloadPage(shell::ReloadKind::FromPage);
        } else if (accepted == "?SELECT") {
            response = shell::outcome::Completed;
            fw::POST(fw::Event::CloseWindow);
        } else if (accepted == "?CLOSE") {
            response = shell::outcome::Cancelled;
            fw::POST(fw::Event::CloseWindow);
        } else {
            browse.TakeEvent(event, field.number, fw::KEYCODE());
        }
        browse.SyncBrowse();
    }
    fw::POPBIND();
    shell::ActionOutcome() = response;
}

}  // namespace songbase
