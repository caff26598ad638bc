#include "exchange/export_song_listings.h"

#include "exchange/export_listings_process.h"

#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/browse_page.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/help_convention.h"

#include <cstdint>
#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace exchange {
namespace {

constexpr const char* kDiscList = "?LIST";
constexpr const char* kTrackList = "?LIST:2";
constexpr const char* kNoDiscsTagged = "You must Select and TAG the desired Disc(s)|before proceeding.";
constexpr const char* kNoTracksTagged = "You must Select and TAG the desired Track(s)|before proceeding.";

// The track column: blank for track 0.
std::string TrackText(std::uint32_t track) { return track == 0 ? std::string() : std::to_string(track); }

class ExportWindow {
public:
    ExportWindow()
        : discList_(kDiscList, {}), trackList_(kTrackList, {}), discs_(DiscSpec(), discList_),
          tracks_(TrackSpec(), trackList_) {}

    std::int32_t filter = static_cast<std::int32_t>(ExportFilter::All);

    void Opened() {}

    // Each option shows only its own group.
    void ShowFilterGroup() {
        const auto f = static_cast<ExportFilter>(filter);
        if (f == ExportFilter::All) fw::UNHIDE("?ALLGROUP");
        else fw::HIDE("?ALLGROUP");
        if (f == ExportFilter::TaggedDiscs) fw::UNHIDE("?DISCGROUP");
        else fw::HIDE("?DISCGROUP");
        if (f == ExportFilter::TaggedTracks) fw::UNHIDE("?TRACKGROUP");
        else fw::HIDE("?TRACKGROUP");
    }

    void FilterChanged() {
        ShowFilterGroup();
        discs_.RequestResync();
        tracks_.RequestResync();
    }

    // One pass of the window's loop; false when the window is to close.
    bool Take(fw::Window& window) {
        const int event = window.Event();
        if (event == fw::Event::GainFocus) {
            discs_.RequestResync();
            tracks_.RequestResync();
        }
        discs_.TakeEvent(event, window.Field(), window.KeyCode());
        tracks_.TakeEvent(event, window.Field(), window.KeyCode());
        const fw::FieldId accepted = fw::ACCEPTED();
        bool close = false;
        if (accepted == "?EXPORT:FILTER") FilterChanged();
        else if (accepted == "?OKBUTTON") close = Export();
        else if (accepted == "?HELP") shell::ShowProgramHelp(kExportHelpTopic);
        else if (accepted == "?CANCELBUTTON") close = true;
        discs_.SyncBrowse();
        tracks_.SyncBrowse();
        return !close;
    }

private:
    static shell::BrowseSpec DiscSpec() {
        shell::BrowseSpec desc;
        desc.primary = &shell::SBDiscs();
        desc.orders = {{shell::SBDiscs().FindKey("SBD:KALTDISKID")}};
        desc.columns = [] { return fw::ui::ListRow{"", SBD.ALTDISKID.Str(), SBD.UNQDISKID.Str()}; };
        return desc;
    }
    static shell::BrowseSpec TrackSpec() {
        shell::BrowseSpec desc;
        desc.primary = &shell::SBDiscs();
        desc.orders = {{shell::SBDiscs().FindKey("SBD:KALTDISKID")}};
        desc.joins = [](fw::View& v) { v.Join(shell::SongBook().FindKey("SBK:KUnqDiskID"), {"SBD:UNQDISKID"}); };
        desc.columns = [] { return fw::ui::ListRow{"", SBD.ALTDISKID.Str(), TrackText(SBK.DISKTRACKNO)}; };
        return desc;
    }

    // "Export Listings": true when the window is to close.
    bool Export() {
        ExportSongListingsProcess({});
        return true;
    }

    shell::WindowBrowseList discList_;
    shell::WindowBrowseList trackList_;
    shell::PagedBrowse discs_;
    shell::PagedBrowse tracks_;
};

}  // namespace

void ExportSongListings() {
    shell::ActionOutcome() = shell::outcome::Cancelled;
    const shell::FileUse discs(shell::SBDiscsFile());
    const shell::FileUse book(shell::SongBookFile());
    ExportWindow state;
    std::int32_t outcome = shell::outcome::Cancelled;
    {
        fw::Window window(kExportWindow);
        window.Use("?EXPORT:FILTER", state.filter);
        window.Open();
        fw::SetSystemIcon("~songbook.ico");
        for (const char* radio : {"?EXPORT:FILTER:RADIO2", "?EXPORT:FILTER:RADIO3"}) fw::DISABLE(radio);
        state.ShowFilterGroup();
        state.Opened();
        while (window.Accept()) {
            if (!state.Take(window)) {
                outcome = shell::ActionOutcome();
                fw::POST(fw::Event::CloseWindow);
            }
        }
    }
    shell::ActionOutcome() = outcome;
}

}  // namespace exchange
