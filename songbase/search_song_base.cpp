#include "songbase/search_song_base.h"

#include "platform/data/bind.h"
#include "platform/data/file_ops.h"
#include "platform/data/read_together.h"
#include "platform/data/record.h"
#include "platform/data/text_match.h"
#include "platform/os/beep.h"
#include "platform/runtime/error_state.h"
#include "platform/runtime/scheduler.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/browse_page.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/help_convention.h"
#include "shell/window_resize.h"
#include "shell/window_runtime.h"
#include "songbase/browse_song_base_disc_tracks.h"
#include "songbase/held_song_book.h"
#include "songbase/song_base_rows.h"

#include <optional>
#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace songbase {

DupColors DupBand(int count) {
    if (count < 5) return {0xB7FFB7, 0x008000};
    if (count < 12) return {0x80FFFF, 0x028E8B};
    return {0x8080FF, 0x0000FF};
}

namespace {

constexpr const char* kSearchEntry = "?SEARCHFIELD";
constexpr const char* kHelpTopic = "::/SearchingtheMainSongBase.htm";
constexpr int kArtistListLength = 25;  // sArtist's names

// The number of the disc's tracks (the disc of the track in KAR) whose
// title and artist the open book has. KAR is as it was afterwards.
int CountDiscDuplicates(const HeldSongBook& book) {
    if (!book.IsOpen()) return 0;
    const shell::KaraokeRec kept = KAR;
    fw::File& tracks = shell::KARAOKE();
    fw::ReadTogether together({&tracks, &shell::SongBook()});  // a look-up a track: one read lock for all
    const fw::Key disc = tracks.FindKey("KAR:KUNQDISKID");
    fw::SET(disc, disc);
    int count = 0;
    for (;;) {
        fw::NEXT(tracks);
        if (fw::ERRORCODE() != 0 || KAR.UnqDiskID.View() != kept.UnqDiskID.View()) break;
        if (book.HasSong(KAR.Title.View(), KAR.Artist.View())) ++count;
    }
    fw::SetError(0);
    KAR = kept;
    return count;
}

// A disc row: the six shown fields, each with its four colours, then the
// Mfg. disc ID and the brand number. The DUP cell is coloured by its band
// when counted; every other colour is the list's.
fw::ui::ListRow DiscRow(bool artistFirst, const HeldSongBook* book) {
    const std::string none = "-1";
    fw::ui::ListRow row;
    auto add = [&](std::string value, const std::string& fg, const std::string& bg, const std::string& selFg,
                   const std::string& selBg) {
        row.push_back(std::move(value));
        row.insert(row.end(), {fg, bg, selFg, selBg});
    };
    if (artistFirst) add(KAR.Artist.Str(), none, none, none, none);
    add(KAR.Title.Str(), none, none, none, none);
    if (!artistFirst) add(KAR.Artist.Str(), none, none, none, none);
    add(BRA.MAKE.Str(), none, none, none, none);
    add(KAR.UnqDiskID.Str(), none, none, none, none);
    add(std::to_string(KAR.DiskTrackNo), none, none, none, none);
    if (book && !book->IsOpen()) {
        add("", none, none, none, none);  // no book open: nothing to count against
    } else if (book) {
        const int count = CountDiscDuplicates(*book);
        const DupColors band = DupBand(count);
        add(std::to_string(count), "0", std::to_string(band.normalBg), std::to_string(0xFFFFFF),
            std::to_string(band.selectedBg));
    } else {
        add("0", none, none, none, none);
    }
    row.push_back(KAR.DISKID.Str());
    row.push_back(std::to_string(KAR.MAKEID));
    return row;
}

// One side of the window: the search list (titles or artists), its disc
// list, and the reset field the disc list was last loaded for.
struct Side {
    Side(bool artists, HeldSongBook& book)
        : artists(artists),
          textList(artists ? "?LIST:3" : "?LIST", {}),
          discList(artists ? "?LIST:4" : "?LIST:2",
                   {artists ? "?INSERT:2" : "?INSERT", artists ? "?CHANGE:2" : "?CHANGE",
                    artists ? "?DELETE:2" : "?DELETE", ""}),
          texts(TextSpec(artists), textList),
          discs(DiscPlan(artists, book), discList) {}

    static shell::BrowsePlan TextSpec(bool artists) {
        fw::File& file = artists ? shell::sArtist() : shell::sTitle();
        shell::BrowsePlan desc;
        desc.primary = &file;
        desc.orders = {{file.FindKey(artists ? "SAR:KARTIST" : "STI:KTITLE")}};
        desc.columns = [artists] { return fw::ui::ListRow{artists ? SAR.Artist.Str() : STI.Title.Str()}; };
        return desc;
    }
    static shell::BrowsePlan DiscPlan(bool artists, HeldSongBook& book) {
        fw::File& tracks = shell::KARAOKE();
        shell::BrowsePlan desc;
        desc.primary = &tracks;
        desc.orders = {{tracks.FindKey(artists ? "KAR:KARTIST" : "KAR:KTITLE")}};
        desc.joins = JoinBrand;
        desc.columns = [artists, &book] { return DiscRow(artists, artists ? &book : nullptr); };
        desc.form = BrowseSongBaseDiscTracks;
        return desc;
    }

    std::string TextEquate() const { return artists ? "?LIST:3" : "?LIST"; }
    std::string DiscEquate() const { return artists ? "?LIST:4" : "?LIST:2"; }
    std::string DisplayButton() const { return artists ? "?CHANGE:2" : "?CHANGE"; }
    // The highlighted title or artist, as the text list left it in its buffer.
    std::string Highlighted() const { return artists ? SAR.Artist.Str() : STI.Title.Str(); }

    // The text list filtered by the search text.
    void Search(std::string_view text) {
        texts.View().SetTextMatch(artists ? "SAR:Artist" : "STI:Title", text, fw::TextMatch::Contains);
        texts.ReloadPage(shell::ReloadKind::Keep);
        texts.OnRowSelected(0);
    }

    // The disc list shows the tracks of the highlighted title or artist:
    // equal to it, letter case ignored; an artist that fills the search
    // list's whole name may go on in the tracks, so it matches the tracks
    // whose artist begins with it.
    void SyncDiscs(bool resync) {
        const std::string wanted = Highlighted();
        if (loaded && wanted == reset && !resync) return discs.SyncBrowse();
        loaded = true;
        reset = wanted;
        resetField = wanted;
        fw::View& view = discs.View();
        const bool prefix = artists && wanted.size() >= static_cast<std::size_t>(kArtistListLength);
        if (prefix) {
            view.SetFilter("");
            view.SetTextMatch("KAR:Artist", wanted, fw::TextMatch::BeginsWith);
        } else {
            view.SetTextMatch("KAR:Artist", "", fw::TextMatch::None);
            view.SetFilter(artists ? "UPPER(KAR:Artist) = UPPER(BRW6::Sort1:Reset:SAR:Artist)"
                                   : "UPPER(KAR:Title) = UPPER(BRW1::Sort1:Reset:STI:Title)");
        }
        fw::ClearRecord(&KAR, shell::KaraokeRec::Decl());
        if (artists) KAR.Artist = wanted;
        else KAR.Title = wanted;
        discs.PositionOnRecord(shell::PositionKind::ByKeyValue);
        discs.SyncBrowse();
    }

    void Show(bool on) {
        for (const std::string& c : {TextEquate(), DiscEquate(), DisplayButton()}) {
            if (on) fw::UNHIDE(c);
            else fw::HIDE(c);
        }
    }

    bool artists;
    shell::WindowBrowseList textList;
    shell::WindowBrowseList discList;
    shell::PagedBrowse texts;
    shell::PagedBrowse discs;
    std::string reset;
    fw::FString<40> resetField;  // bound: BRW1::Sort1:Reset:STI:Title or BRW6::Sort1:Reset:SAR:Artist
    bool loaded = false;
    bool searched = false;
};

// Both sides and the window's refresh.
struct SearchWindow {
    explicit SearchWindow(HeldSongBook& book) : book(book), titles(false, book), artists(true, book) {
        fw::BIND("BRW1::Sort1:Reset:STI:Title", titles.resetField);
        fw::BIND("BRW6::Sort1:Reset:SAR:Artist", artists.resetField);
    }

    void RereadAll() {
        for (Side* s : {&titles, &artists}) {
            s->texts.RereadHighlighted();
            s->discs.RereadHighlighted();
        }
    }

    // After a new selection, GainFocus, Sized and a return from the
    // disc-tracks window: the disc lists follow the highlighted title and
    // artist, and the book that is open now.
    void Refresh(bool resync) {
        fw::SELECT(kSearchEntry);
        if (book.Follow()) resync = true;
        ShowDupColumn();
        for (Side* s : {&titles, &artists}) {
            if (s->searched) s->texts.SyncBrowse();
            s->SyncDiscs(resync);
            if (s->discs.RowsLoaded() > 0) fw::ENABLE(s->DisplayButton());
            else fw::DISABLE(s->DisplayButton());
        }
        fw::DISPLAY();
    }

    void Search() {
        RereadAll();
        const std::string text(SearchField.Clip());
        if (text.empty()) {
            fw::BEEP();
            fw::SELECT(kSearchEntry);
            return;
        }
        Side& shown = SEARCHBY == 1 ? artists : titles;
        Side& hidden = SEARCHBY == 1 ? titles : artists;
        shown.searched = true;
        shown.Search(text);
        hidden.Show(false);
        shown.Show(true);
    }

    void DisplayTracks(Side& side) {
        RereadAll();
        side.discs.RereadHighlighted();
        if (side.discs.RowsLoaded() == 0) return;
        side.discs.EditThroughForm(shell::action::Change);
        side.discList.Focus();
    }

    // The artist side's DUP column is blank while no book is open.
    void ShowDupColumn() {
        if (dupShown == std::optional<bool>(book.IsOpen())) return;
        dupShown = book.IsOpen();
        std::string format = artistFormat;
        const auto at = format.rfind("@n6@");
        if (!book.IsOpen() && at != std::string::npos) format.replace(at, 4, "@n6B@");
        fw::SetProp("?LIST:4", fw::Prop::Format, format);
    }

    HeldSongBook& book;
    Side titles;
    Side artists;
    std::string artistFormat = fw::GetProp("?LIST:4", fw::Prop::Format).Str();
    std::optional<bool> dupShown;
};

// The single-instance rule: true when this thread may run the window.
struct SearchInstance {
    bool owner = false;
    ~SearchInstance() {
        if (owner) shell::SearchThread = 0;
    }
};

}  // namespace

void SearchSongBase() {
    SearchInstance instance;
    if (shell::RequestedAction() != shell::action::Select) {
        if (shell::SearchThread != 0) {
            fw::POST(fw::Event::GainFocus, {}, shell::SearchThread);
            shell::ActionOutcome() = shell::outcome::Cancelled;
            return;
        }
        shell::SearchThread = static_cast<std::uint8_t>(fw::THREAD());
        instance.owner = true;
    }
    shell::RequestedAction() = shell::action::None;
    shell::ActionOutcome() = shell::outcome::None;
    fw::PUSHBIND();
    fw::BIND("SearchField", SearchField);
    SearchField = "";
    SEARCHBY = 0;
    fw::ClearRecord(&STI, shell::STitleRec::Decl());
    fw::ClearRecord(&SAR, shell::SArtistRec::Decl());
    {
        shell::FileUse brands(shell::DMakeFile());
        shell::FileUse songBase(shell::KaraokeFile());
        HeldSongBook book;
        shell::FileUse artistList(shell::SArtistFile());
        shell::FileUse titleList(shell::STitleFile());

        fw::Window window("P1$SONGBASESEARCH");
        window.Use(kSearchEntry, SearchField);
        window.Use("?SEARCHBY", SEARCHBY);
        window.Open();
        shell::WindowResizeState layout;
        shell::InitWindowResize(layout);
        fw::SetSystemIcon("~songbook.ico");
        SearchWindow w(book);
        fw::DISABLE("?CHANGE");
        fw::DISABLE("?CHANGE:2");

        while (fw::ACCEPT()) {
            const int event = fw::EVENT();
            if (event == fw::Event::GainFocus) {
                fw::SetProp({}, fw::Prop::Active, 1);
                if (fw::GetProp({}, fw::Prop::Iconize).Bool()) fw::SetProp({}, fw::Prop::Iconize, 0);
                if (w.titles.loaded) w.Refresh(true);
                continue;
            }
            if (event == fw::Event::Timer) {
                if (book.Follow() && w.titles.loaded) w.Refresh(true);
                continue;
            }
            if (event == fw::Event::Sized) {
                shell::ResizeWindowControls(layout);
                if (w.titles.loaded) w.Refresh(true);
                continue;
            }
            if (event == fw::Event::CloseWindow || event == fw::Event::CloseDown) {
                shell::EndWindowResize(layout);
                continue;
            }
            const fw::FieldId field = fw::FIELD();
            Side* discSide = field == "?LIST:2" ? &w.titles : field == "?LIST:4" ? &w.artists : nullptr;
            if (discSide && event == fw::Event::AlertKey && fw::KEYCODE() == fw::KeyCode::MouseRight) {
                const bool rows = discSide->discs.RowsLoaded() > 0;
                const int item = fw::POPUP(rows ? "&Insert|&Display All Tracks on Selected Disc|&Delete"
                                                : "&Insert|~&Display All Tracks on Selected Disc|~&Delete");
                if (item == 2 && rows) w.DisplayTracks(*discSide);
                continue;
            }
            const fw::FieldId accepted = fw::ACCEPTED();
            bool refresh = false;
            if (accepted == "?BUTTON6") {
                w.Search();
                refresh = true;
            } else if (accepted == "?BUTTON6:2") {
                SearchField = "";
                fw::DISPLAY(kSearchEntry);
                fw::SELECT(kSearchEntry);
            } else if (accepted == "?BUTTON8" || accepted == "?BUTTON2") {
                fw::POST(fw::Event::CloseWindow);
            } else if (accepted == "?BUTTON2:2") {
                shell::ShowProgramHelp(kHelpTopic);
            } else if (accepted == "?CHANGE") {
                w.DisplayTracks(w.titles);
                refresh = true;
            } else if (accepted == "?CHANGE:2") {
                w.DisplayTracks(w.artists);
                refresh = true;
            } else if (accepted == "?INSERT" || accepted == "?DELETE" || accepted == "?INSERT:2" ||
                       accepted == "?DELETE:2") {
                // The disc lists add and remove nothing.
            } else {
                for (Side* s : {&w.titles, &w.artists}) {
                    if (s->texts.TakeEvent(event, field.number, fw::KEYCODE())) refresh = true;
                    if (s->discs.TakeEvent(event, field.number, fw::KEYCODE())) refresh = true;
                }
            }
            if (refresh) w.Refresh(false);
        }
    }
    fw::POPBIND();
    shell::ActionOutcome() = shell::outcome::Cancelled;
}

}  // namespace songbase
