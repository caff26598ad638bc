#include "songbook/song_book_window.h"

#include "platform/ui/message.h"
#include "shell/integrity_results.h"
#include "songbook/delete_track.h"

#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbook {

namespace {

constexpr std::string_view kQuestion =
    "Do you wish to delete the Selected Song Listing ONLY, or the ENTIRE Disc it resides on?";
constexpr std::string_view kChoices = "&This Listing|&Entire Disc|&Cancel";
constexpr std::string_view kDoneCaption = "Deletion Successful";
enum Choice { ThisListing = 1, EntireDisc = 2 };

// The wait cursor while the delete runs.
struct WaitCursor {
    WaitCursor() { fw::SETCURSOR(fw::Cursor::Wait); }
    ~WaitCursor() { fw::SETCURSOR(); }
};

}  // namespace

void DeleteTrackDialog(SongBookWindowState& s, SongBookBrowses& browses) {
    const Highlighted got = browses.FetchHighlighted();
    if (got == Highlighted::None || got == Highlighted::Failed) return;
    const int choice = fw::MESSAGE(kQuestion, "", fw::Icon::Question, kChoices, ThisListing);
    if (choice != ThisListing && choice != EntireDisc) return;  // Cancel: nothing changes

    // The disc the highlighted row shows, named in the message.
    const std::string disc(SBD.ALTDISKID.Clip());
    long result = shell::integrity::Failed;
    {
        WaitCursor wait;
        if (choice == EntireDisc || got == Highlighted::DiscOnly) {
            if (got == Highlighted::Listing) SBD.UNQDISKID = SBK.UnqDiskID;
            result = DeleteEntireDisc();
        } else {
            result = DeleteListingAndEmptyDisc();
        }
    }
    browses.ReloadVisible();
    RefreshSongBookWindow(s, browses);
    if (result != shell::integrity::Done) return;  // the failure has been reported
    if (choice == EntireDisc || got == Highlighted::DiscOnly)
        fw::MESSAGE("All Song Tracks found on Disc:" + disc + " have been successfully deleted...", kDoneCaption,
                    fw::Icon::Exclamation);
    else
        fw::MESSAGE("Song Listing has been successfully deleted...", kDoneCaption, fw::Icon::Exclamation);
}

}  // namespace songbook
