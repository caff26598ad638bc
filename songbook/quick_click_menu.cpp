#include "songbook/song_book_window.h"

#include "platform/ui/common_dialogs.h"
#include "platform/ui/events.h"
#include "shell/data_dictionary_globals.h"
#include "shell/integrity_updates.h"
#include "shell/program_procedures.h"
#include "songbook/song_book_commands.h"

#include <string>
#include <vector>

#include "shell/data_dictionary_prefixes.h"

namespace songbook {

namespace {

// An item greyed when its procedure is not in the program; the listing's
// values in it are shown as they stand ("Rock & Roll" keeps its "&").
fw::PopupItem Item(std::string_view text, bool available, std::string_view value = {}) {
    return {std::string(text) + fw::Literal(value), available};
}

// The row the right button was pressed on becomes the highlighted one.
void SelectRowUnderMouse(const SongBookWindowState& s) {
    const std::string_view list = SongBookList(s.visibleList).listControl;
    const int row = fw::GetProp(list, fw::Prop::MouseDownRow).Int();
    if (row >= 1) fw::SetProp(list, fw::Prop::Selected, row);
}

}  // namespace

void QuickClickMenu(SongBookWindowState& s, SongBookBrowses& browses) {
    SelectRowUnderMouse(s);
    const Highlighted got = browses.FetchHighlighted();
    if (got != Highlighted::Listing) return;  // no listing, or it could not be read (said so)

    const std::string disc(SBD.ALTDISKID.Clip());
    const bool multiEdit = shell::HasProgramProcedure(kMultiEditSetupProcedure);
    const std::vector<fw::PopupItem> menu = {
        Item("Display all Tracks Found on Disk: ", shell::HasProgramProcedure(kDiscTracksProcedure), disc),
        Item("Toggle Omit?", true),
        Item("Edit Track", true),
        Item("Delete Track", true),
        Item("Perform Multi-Listing Edit on Title: ", multiEdit, SBK.Title.Clip()),
        Item("Perform Multi-Listing Edit on Artist: ", multiEdit, SBK.Artist.Clip()),
        Item("Perform Multi-Listing Edit on Disc ID: ", multiEdit, disc),
    };
    const int choice = fw::POPUP(menu);
    switch (choice) {
    case 1:
        shell::RunProgramProcedure(kDiscTracksProcedure);
        browses.ReloadVisible();
        break;
    case 2:
        SBK.PRINT = SBK.PRINT.Clip() == "X" ? "" : "X";
        shell::UpdateSongBookRecord(1);
        browses.ReloadVisible();
        break;
    case 3: fw::POST(fw::Event::Accepted, SongBookList(s.visibleList).changeButton); break;
    case 4: fw::POST(fw::Event::Accepted, kDeleteTrackButton); break;
    case 5:
    case 6:
    case 7:
        shell::MultiEditField = choice - 4;
        shell::DialogCancelled = 1;
        shell::RunProgramProcedure(kMultiEditSetupProcedure);
        if (shell::DialogCancelled == 0) shell::RunProgramProcedure(kBatchEditProcedures[choice - 5]);
        browses.ReloadVisible();
        break;
    default: break;
    }
    RefreshSongBookWindow(s, browses);
}

}  // namespace songbook
