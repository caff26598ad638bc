#include "exchange/export_song_listings.h"

#include "exchange/export_listings_process.h"

#include "platform/data/file_ops.h"
#include "platform/data/view.h"
#include "platform/runtime/error_state.h"
#include "platform/text/codepage.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/browse_page.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/help_convention.h"
#include "shell/tag_list.h"
#include "shell/tag_scheme.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>

#include "shell/data_dictionary_prefixes.h"

namespace exchange {
namespace {

constexpr const char* kDiscList = "?LIST";
constexpr const char* kTrackList = "?LIST:2";
constexpr const char* kNoDiscsTagged = "You must Select and TAG the desired Disc(s)|before proceeding.";
constexpr const char* kNoTracksTagged = "You must Select and TAG the desired Track(s)|before proceeding.";

// The track column: blank for track 0.
std::string TrackText(std::uint32_t track) { return track == 0 ? std::string() : std::to_string(track); }

// A tagged track: its disc ID as the keys compare it, and its whole number.
using TrackTag = std::pair<std::string, std::uint32_t>;
TrackTag TrackOf(std::string_view unq, std::uint32_t track) {
    while (!unq.empty() && unq.back() == ' ') unq.remove_suffix(1);
    return {fw::UpperText(unq), track};
}

void JoinListings(fw::View& v) { v.Join(shell::SongBook().FindKey("SBK:KUnqDiskID"), {"SBD:UNQDISKID"}); }

// Every row of a list's view (discs, or discs joined to their listings), in
// the list's order, with the records in the buffers.
void ForEachRow(bool withListings, const std::function<void()>& each) {
    fw::View view(shell::SBDiscs());
    if (withListings) JoinListings(view);
    fw::SET(shell::SBDiscs().FindKey("SBD:KALTDISKID"));
    fw::OPEN(view, fw::ReadWrite | fw::DenyWrite);
    for (fw::NEXT(view); fw::ERRORCODE() == 0; fw::NEXT(view)) each();
    fw::CLOSE(view);
    fw::SetError(0);
}

class ExportWindow {
public:
    ExportWindow()
        : discList_(kDiscList, {}),
          trackList_(kTrackList, {}),
          discScheme_(kDiscList, {}, DiscSemantics()),
          trackScheme_(kTrackList,
                       {"?DASTAG:2", "?DASTAGALL:2", "?DASUNTAGALL:2", "?DASREVTAG:2", "?DASSHOWTAG:2"},
                       TrackSemantics()),
          discs_(DiscPlan(), discList_),
          tracks_(TrackPlan(), trackList_) {
        discScheme_.Attach(discs_);
        trackScheme_.Attach(tracks_);
    }

    std::int32_t filter = static_cast<std::int32_t>(ExportFilter::All);

    void Opened() {
        discScheme_.Opened();
        trackScheme_.Opened();
    }

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

    // A change of option drops every tag.
    void FilterChanged() {
        ShowFilterGroup();
        discTags_.Clear();
        trackTags_.clear();
        discs_.ReloadPage(shell::ReloadKind::Keep);
        tracks_.ReloadPage(shell::ReloadKind::Keep);
    }

    // One pass of the window's loop; false when the window is to close.
    bool Take(fw::Window& window) {
        const int event = window.Event();
        const int field = window.Field();
        const int key = window.KeyCode();
        if (event == fw::Event::GainFocus) {
            discs_.RequestResync();
            tracks_.RequestResync();
        }
        discs_.TakeEvent(event, field, key);
        tracks_.TakeEvent(event, field, key);
        bool close = false;
        if (!discScheme_.TakeEvent(event, field, key) && !trackScheme_.TakeEvent(event, field, key)) {
            const fw::FieldId accepted = fw::ACCEPTED();
            if (accepted == "?EXPORT:FILTER") FilterChanged();
            else if (accepted == "?OKBUTTON") close = Export();
            else if (accepted == "?HELP") shell::ShowProgramHelp(kExportHelpTopic);
            else if (accepted == "?CANCELBUTTON") close = true;
        }
        discs_.SyncBrowse();
        tracks_.SyncBrowse();
        return !close;
    }

private:
    bool DiscTagged() const { return discTags_.FindDisc(SBD.UNQDISKID.Clip()) != nullptr; }
    bool TrackTagged() const { return trackTags_.count(TrackOf(SBK.UnqDiskID.Clip(), SBK.DISKTRACKNO)) > 0; }
    void TagDisc() { discTags_.Add({.unq = SBD.UNQDISKID.Str(), .alt = SBD.ALTDISKID.Str()}); }
    void TagTrack() {
        if (!SBK.UnqDiskID.Blank()) trackTags_.insert(TrackOf(SBK.UnqDiskID.Clip(), SBK.DISKTRACKNO));
    }

    shell::TagSemantics DiscSemantics() {
        shell::TagSemantics t;
        t.isTagged = [this] { return DiscTagged(); };
        t.toggle = [this] {
            if (discTags_.RemoveDisc(SBD.UNQDISKID.Clip()) == 0) TagDisc();
        };
        t.tagAll = [this] {
            discTags_.Clear();
            ForEachRow(false, [this] { TagDisc(); });
        };
        t.untagAll = [this] { discTags_.Clear(); };
        // Discs compared by both IDs: a disc is untagged only when its tag
        // names it by both.
        t.reverse = [this] {
            const shell::TagList before = discTags_;
            discTags_.Clear();
            ForEachRow(false, [this, &before] {
                const shell::TagEntry* tag = before.FindDisc(SBD.UNQDISKID.Clip());
                if (!tag || !shell::SameDiscId(tag->alt, SBD.ALTDISKID.Clip())) TagDisc();
            });
        };
        return t;
    }
    shell::TagSemantics TrackSemantics() {
        shell::TagSemantics t;
        t.isTagged = [this] { return TrackTagged(); };
        t.toggle = [this] {
            if (trackTags_.erase(TrackOf(SBK.UnqDiskID.Clip(), SBK.DISKTRACKNO)) == 0) TagTrack();
        };
        t.tagAll = [this] {
            trackTags_.clear();
            ForEachRow(true, [this] { TagTrack(); });
        };
        t.untagAll = [this] { trackTags_.clear(); };
        t.reverse = [this] {
            const std::set<TrackTag> before = std::move(trackTags_);
            trackTags_.clear();
            ForEachRow(true, [this, &before] {
                if (!before.count(TrackOf(SBK.UnqDiskID.Clip(), SBK.DISKTRACKNO))) TagTrack();
            });
        };
        return t;
    }

    shell::BrowsePlan DiscPlan() {
        shell::BrowsePlan desc;
        desc.primary = &shell::SBDiscs();
        desc.orders = {{shell::SBDiscs().FindKey("SBD:KALTDISKID")}};
        desc.columns = [this] { return fw::ui::ListRow{discScheme_.Mark(), SBD.ALTDISKID.Str(), SBD.UNQDISKID.Str()}; };
        desc.check = [this] { return discScheme_.Shows(); };
        return desc;
    }
    shell::BrowsePlan TrackPlan() {
        shell::BrowsePlan desc;
        desc.primary = &shell::SBDiscs();
        desc.orders = {{shell::SBDiscs().FindKey("SBD:KALTDISKID")}};
        desc.joins = JoinListings;
        desc.columns = [this] {
            return fw::ui::ListRow{trackScheme_.Mark(), SBD.ALTDISKID.Str(), TrackText(SBK.DISKTRACKNO)};
        };
        desc.check = [this] { return trackScheme_.Shows(); };
        return desc;
    }

    // "Export Listings": true when the window is to close.
    bool Export() {
        switch (static_cast<ExportFilter>(filter)) {
        case ExportFilter::TaggedDiscs:
            if (discTags_.Empty()) {
                fw::MESSAGE(kNoDiscsTagged);
                return false;
            }
            ExportSongListingsProcess([this] { return discTags_.FindDisc(SBK.UnqDiskID.Clip()) != nullptr; });
            return true;
        case ExportFilter::TaggedTracks:
            if (trackTags_.empty()) {
                fw::MESSAGE(kNoTracksTagged);
                return false;
            }
            ExportSongListingsProcess([this] { return TrackTagged(); });
            return true;
        default: ExportSongListingsProcess({}); return true;
        }
    }

    shell::TagList discTags_;
    // Tracks keep their whole number, which a TagEntry's 16 bits cannot.
    std::set<TrackTag> trackTags_;
    shell::WindowBrowseList discList_;
    shell::WindowBrowseList trackList_;
    shell::TagScheme discScheme_;
    shell::TagScheme trackScheme_;
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
