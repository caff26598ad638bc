#include "songbook/song_book_window.h"

#include "platform/runtime/scheduler.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/help_convention.h"
#include "shell/program_procedures.h"
#include "songbook/browse_song_book_files.h"
#include "songbook/song_book_commands.h"

#include <string>

namespace songbook {

namespace {

const SongBookCommand* CommandOf(std::string_view button) {
    for (const SongBookCommand& c : SongBookCommands())
        if (c.button == button) return &c;
    return nullptr;
}

bool ItemAvailable(const SongBookMenuItem& item) {
    if (!item.started.empty()) return shell::HasProgramProcedure(item.started);
    if (item.visibleChange || item.button == kDeleteTrackButton) return true;
    const SongBookCommand* target = CommandOf(item.button);
    return target && shell::HasProgramProcedure(target->procedure);
}

void SetEnabled(std::string_view control, bool on) {
    if (on) fw::ENABLE(control);
    else fw::DISABLE(control);
}

// The list's Change button of the visible list.
std::string_view VisibleChange(const SongBookWindowState& s) { return SongBookList(s.visibleList).changeButton; }

void RunProcedure(std::string_view name, bool started) {
    if (!started) return shell::RunProgramProcedure(name);
    if (const shell::ProgramProcedure& procedure = shell::ProgramProcedureNamed(name)) fw::START(procedure);
}

}  // namespace

void DisableMissingCommands() {
    for (const SongBookCommand& c : SongBookCommands())
        if (!shell::HasProgramProcedure(c.procedure)) fw::DISABLE(c.button);
    for (const SongBookMenuItem& item : SongBookMenuItems())
        if (!ItemAvailable(item)) fw::DISABLE(item.item);
}

void RefreshSongBookWindow(SongBookWindowState& s, SongBookBrowses& browses) {
    browses.Sync();
    // While the book's check runs its count is taken beside it, and the
    // first page tells whether it has listings; the count shows once known.
    const bool counted = !s.check || s.check->Counted();
    s.trackCount = counted ? book_files::ListingCount() : 0;
    const bool listings = counted ? s.trackCount > 0 : browses.HasRows();
    for (const SongBookCommand& c : SongBookCommands())
        if (c.needsListings) SetEnabled(c.button, listings && shell::HasProgramProcedure(c.procedure));
    SetEnabled(kDeleteTrackButton, listings);
    for (const SongBookMenuItem& item : SongBookMenuItems())
        if (item.needsListings) SetEnabled(item.item, listings && ItemAvailable(item));
    SetEnabled(kImportExportMenu, listings);
    const std::string message = "Total Song Tracks: " + (counted ? std::to_string(s.trackCount) : std::string());
    for (const SongBookListDecl* list : SongBookLists()) fw::SetProp(list->listControl, fw::Prop::Msg, message);
    // The visible list takes the focus, unless the user is working in the
    // search controls (a Tab between them must land where it was aimed).
    const fw::FieldId focus = fw::FOCUS();
    const bool inSearch = focus == "?SEARCHSTRING" || focus == "?SEARCHMODE" || focus == "?SEARCHMODE:RADIO1" ||
                          focus == "?SEARCHMODE:RADIO2";
    if (!inSearch) fw::SELECT(SongBookList(s.visibleList).listControl);
    SetEnabled("?SEARCHNEXTBUTTON", s.searchScanCount != 0);
    fw::DISPLAY();
}

bool RunSongBookCommand(SongBookWindowState& s, SongBookBrowses& browses, fw::FieldId accepted) {
    if (accepted == 0) return false;
    for (const SongBookMenuItem& item : SongBookMenuItems()) {
        if (!(accepted == item.item)) continue;
        browses.RereadHighlighted();
        if (!item.started.empty()) {
            RunProcedure(item.started, true);
            s.currentRequest = s.entryRequest;
            RefreshSongBookWindow(s, browses);
        } else {
            fw::POST(fw::Event::Accepted, item.visibleChange ? VisibleChange(s) : item.button);
        }
        return true;
    }
    for (const SongBookCommand& c : SongBookCommands()) {
        if (!(accepted == c.button)) continue;
        browses.RereadHighlighted();
        RunProcedure(c.procedure, c.started);
        s.currentRequest = s.entryRequest;
        RefreshSongBookWindow(s, browses);
        if (c.reloadLists) browses.ReloadVisible();
        return true;
    }
    if (accepted == kDeleteTrackButton) {
        DeleteTrackDialog(s, browses);
        return true;
    }
    if (accepted == kHelpButton) {
        shell::ShowProgramHelp(kHelpTopic);
        return true;
    }
    return false;
}

}  // namespace songbook
