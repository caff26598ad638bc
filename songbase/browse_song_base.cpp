#include "songbase/browse_song_base.h"

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/browse_codes.h"
#include "shell/browse_page.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/help_convention.h"
#include "shell/window_resize.h"
#include "shell/window_runtime.h"
#include "songbase/edit_song_base_track.h"
#include "songbase/song_base_rows.h"

#include <array>
#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

const char* const kSongBaseOpeningFormat =
    "110LM~Title~C@s40@90LM~Artist~C@s40@100LM~Make~C@s40@39LM~Disc ID~C@s10@24LM~Track~C@n6@/";

const char* SongBaseTabFormat(int tab) {
    static const std::array<const char*, 3> formats = {
        "110LM~Title~C@s40@#1#90LM~Artist~C@s40@#2#100LM~Brand/Series~C@s40@#3#39LM~Disk ID~C@s10@#4#24LM~Track~C@n6@/#5#",
        "90LM~Artist~C@s40@#2#110LM~Title~C@s40@#1#100LM~Brand/Series~C@s40@#3#39LM~Disk ID~C@s10@#4#24LM~Track~C@n6@/#5#",
        "39LM~Disk ID~C@s10@#4#24LM~Track~C@n6@/#5#110LM~Title~C@s40@#1#90LM~Artist~C@s40@#2#100LM~Brand/Series~C@s40@#3#"};
    return formats.at(static_cast<std::size_t>(tab < 1 || tab > 3 ? 0 : tab - 1));
}

namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kSheet = "?CURRENTTAB";
constexpr const char* kHelpTopic = "::/ViewingandEditingtheMainSongBa.htm";
constexpr long kTabFont = 0x800000;
constexpr long kTabBackground = 0x808080;

// The highlighted tab and the colours it had before.
struct TabHighlight {
    int feq = 0;
    long color = -1;
    long fontColor = -1;
};

void HighlightChosenTab(TabHighlight& h) {
    if (h.feq != 0) {
        fw::SetProp(h.feq, fw::Prop::Color, h.color);
        fw::SetProp(h.feq, fw::Prop::FontColor, h.fontColor);
        fw::SetProp(h.feq, fw::Prop::FontStyle, 400);
    }
    h.feq = static_cast<int>(fw::GetProp(kSheet, fw::Prop::ChoiceFEQ).Int());
    if (h.feq == 0) return;
    h.color = fw::GetProp(h.feq, fw::Prop::Color).Int();
    h.fontColor = fw::GetProp(h.feq, fw::Prop::FontColor).Int();
    fw::SetProp(h.feq, fw::Prop::FontColor, kTabFont);
    fw::SetProp(h.feq, fw::Prop::Color, kTabBackground);
    fw::SetProp(h.feq, fw::Prop::FontStyle, 700);
}

shell::BrowsePlan SongBaseSpec(bool selectMode) {
    fw::File& tracks = shell::KARAOKE();
    shell::BrowsePlan desc;
    desc.primary = &tracks;
    desc.orders = {{tracks.FindKey("KAR:KTITLE")}, {tracks.FindKey("KAR:KARTIST")}, {tracks.FindKey("KAR:KDISK")}};
    desc.joins = JoinBrand;
    desc.columns = [] { return TrackColumns(); };
    desc.activeOrder = [] { return fw::CHOICE(kSheet); };
    desc.form = EditSongBaseTrack;
    desc.selectMode = selectMode;
    return desc;
}

}  // namespace

void BrowseSongBase() {
    const bool selectMode = TakeSelectRequest();
    int response = shell::outcome::Cancelled;
    shell::FileUse brands(shell::DMakeFile());
    shell::FileUse songBase(shell::KaraokeFile());

    fw::Window window("P1$SONGBASEBROWSE");
    window.Open();
    shell::WindowResizeState layout;
    shell::InitWindowResize(layout);
    fw::SetSystemIcon("~songbook.ico");
    ShowSelectButton(selectMode);
    TabHighlight tab;
    HighlightChosenTab(tab);
    shell::WindowBrowseList list(kList, {"?INSERT", "?CHANGE", "?DELETE", "?SELECT"});
    shell::PagedBrowse browse(SongBaseSpec(selectMode), list);
    browse.SyncBrowse();
    list.Focus();

    while (fw::ACCEPT()) {
        const int event = fw::EVENT();
        if (event == fw::Event::GainFocus) browse.RequestResync();
        if (event == fw::Event::Sized) {
            shell::ResizeWindowControls(layout);
            browse.RequestResync();
        }
        if (event == fw::Event::CloseWindow || event == fw::Event::CloseDown) shell::EndWindowResize(layout);
        const fw::FieldId field = fw::FIELD();
        if (field == kSheet && event == fw::Event::NewSelection) {
            fw::SetProp(kList, fw::Prop::Format, std::string(SongBaseTabFormat(fw::CHOICE(kSheet))));
            HighlightChosenTab(tab);
        }
        if (field == kList && event == fw::Event::AlertKey && fw::KEYCODE() == fw::KeyCode::MouseRight) {
            SelectPopup(selectMode && browse.RowsLoaded() > 0);
            continue;
        }
        browse.TakeEvent(event, field.number, fw::KEYCODE());
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == "?CLOSE") {
            response = shell::outcome::Cancelled;
            fw::POST(fw::Event::CloseWindow);
        } else if (accepted == "?SELECT") {
            response = shell::outcome::Completed;
            fw::POST(fw::Event::CloseWindow);
        } else if (accepted == "?BUTTON6") {
            shell::ShowProgramHelp(kHelpTopic);
        }
        browse.SyncBrowse();
    }
    shell::ActionOutcome() = response;
}

}  // namespace songbase
