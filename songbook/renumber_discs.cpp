#include "songbook/renumber_discs.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/events.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/browse_page.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/help_convention.h"
#include "shell/integrity_deletes.h"
#include "shell/integrity_results.h"
#include "shell/saved_error.h"
#include "shell/warnings.h"
#include "songbook/song_book_lists.h"
#include "songbook/update_song_book_listing.h"

#include <string>
#include <utility>

#include "shell/data_dictionary_prefixes.h"

namespace songbook {

namespace {

constexpr const char* kList = "?LIST";
constexpr const char* kSheet = "?CURRENTTAB";
constexpr const char* kDeleteDisc = "?BUTTON6";
constexpr const char* kClose = "?CLOSE";
constexpr const char* kHelp = "?BUTTON7";

constexpr int kOriginalColumn = 1;
constexpr int kCustomColumn = 2;

enum class Saved { Unchanged, Written, Refused };

class Renumbering {
public:
    explicit Renumbering(shell::PagedBrowse& browse) : browse_(browse) {}

    // The highlighted disc's cell open in the current column; a new row is
    // read again from the file first and its copy taken.
    void OpenCell() {
        if (browse_.RowsLoaded() == 0 || browse_.Highlight() == 0) {
            fw::SetProp(kList, fw::Prop::EditColumn, 0);
            fw::DISABLE(kDeleteDisc);
            haveCopy_ = false;
            shownPosition_.clear();
            return;
        }
        fw::ENABLE(kDeleteDisc);
        const std::string& position = browse_.Row(browse_.Highlight()).Position();
        if (position == shownPosition_ && haveCopy_ && !stale_) return;
        if (position != shownPosition_ || !haveCopy_) TakeCopy();
        shownPosition_ = position;
        stale_ = false;
        fw::SetProp(kList, fw::Prop::ReadOnly, column_ == kOriginalColumn ? 1 : 0);
        fw::SetProp(kList, fw::Prop::EditText,
                    std::string(column_ == kOriginalColumn ? copy_.UNQDISKID.Clip() : copy_.ALTDISKID.Clip()));
        fw::SetProp(kList, fw::Prop::EditColumn, column_);
    }

    // SaveRenumberedDisc: the typed custom ID written when it differs from
    // the copy. With `reposition` the list is read again at the disc.
    Saved Save(bool reposition) {
        if (!haveCopy_ || column_ != kCustomColumn) return Saved::Unchanged;
        fw::FString<15> typed;
        typed = fw::GetProp(kList, fw::Prop::EditText).Str();
        if (typed.Clip() == copy_.ALTDISKID.Clip()) return Saved::Unchanged;
        if (typed.Blank()) {
            fw::MESSAGE(kAltIdBlankText, kRenumberErrorCaption, fw::Icon::Exclamation, fw::Button::Ok);
            return Saved::Refused;
        }
        if (typed.Clip() == kDisclessDiscId && copy_.UNQDISKID.Clip() != kDisclessDiscId) {
            fw::MESSAGE(kDisclessAltDiscIdText, kRenumberErrorCaption, fw::Icon::Exclamation, fw::Button::Ok);
            Reshow(reposition);
            return Saved::Refused;
        }
        fw::File& discs = shell::SBDiscs();
        fw::SETCURSOR(fw::Cursor::Wait);
        fw::REGET(discs, copyPosition_);
        int code = fw::ERRORCODE();
        if (code == 0) {
            SBD.ALTDISKID = typed;
            fw::PUT(discs);
            code = fw::ERRORCODE();
        }
        fw::SETCURSOR();
        if (code == fw::DupKeyErr) {
            fw::MESSAGE(kAltIdInUseText, kRenumberErrorCaption, fw::Icon::Exclamation, fw::Button::Ok);
        } else if (code != 0) {
            shell::SaveFileError();
            shell::ShowWarningOneText(15, "SBDiscs");
        }
        Reshow(reposition);
        return code == 0 ? Saved::Written : Saved::Refused;
    }

    // An ending key of the cell: the save first, then the key's own move.
    void EditKey(int key) {
        if (Save(true) == Saved::Refused) return;  // the cell stays on the disc
        switch (key) {
        case fw::KeyCode::Up: browse_.HandleScrollEvent(fw::Event::ScrollUp); break;
        case fw::KeyCode::Down: browse_.HandleScrollEvent(fw::Event::ScrollDown); break;
        case fw::KeyCode::PgUp: browse_.HandleScrollEvent(fw::Event::PageUp); break;
        case fw::KeyCode::PgDn: browse_.HandleScrollEvent(fw::Event::PageDown); break;
        case fw::KeyCode::Home: browse_.HandleScrollEvent(fw::Event::ScrollTop); break;
        case fw::KeyCode::End: browse_.HandleScrollEvent(fw::Event::ScrollBottom); break;
        case fw::KeyCode::Left:
        case fw::KeyCode::Right: ChooseColumn(column_ == kCustomColumn ? kOriginalColumn : kCustomColumn); break;
        case fw::KeyCode::Esc: fw::POST(fw::Event::CloseWindow); break;
        default: break;  // Enter: the save alone
        }
    }

    void ChooseColumn(int column) {
        if (column != kOriginalColumn && column != kCustomColumn) return;
        if (column != column_) stale_ = true;
        column_ = column;
    }

    // "&Delete Disc": after its question, the disc and every listing on it
    // in one transaction; success is said only once it is committed.
    void DeleteDisc() {
        if (browse_.RowsLoaded() == 0) return;
        browse_.RereadHighlighted();
        if (fw::MESSAGE(kDeleteDiscQuestion, kDeleteDiscCaption, fw::Icon::Hand, "&Yes|&No Cancel", 2) != 1) return;
        long result = shell::integrity::Failed;
        for (;;) {
            fw::SETCURSOR(fw::Cursor::Wait);
            result = shell::DeleteDiscWithListings();
            fw::SETCURSOR();
            if (result == shell::integrity::Done) break;
            if (shell::ShowWarningNoText(18) != shell::button::Yes) break;
            browse_.RereadHighlighted();
        }
        browse_.ReloadPage(shell::ReloadKind::FromPage);
        haveCopy_ = false;
        shownPosition_.clear();
        if (result == shell::integrity::Done)
            fw::MESSAGE(kDiscDeletedText, kDiscDeletedCaption, fw::Icon::Exclamation, fw::Button::Ok);
        fw::SELECT(kList);
    }

private:
    void TakeCopy() {
        browse_.RereadHighlighted();
        copy_ = SBD;
        copyPosition_ = fw::POSITION(shell::SBDiscs());
        haveCopy_ = fw::ERRORCODE() == 0;
        fw::SetError(0);
    }

    // The stored disc shown again (a refused ID gives way to the stored
    // one) and its copy taken anew.
    void Reshow(bool reposition) {
        fw::REGET(shell::SBDiscs(), copyPosition_);
        fw::SetError(0);
        haveCopy_ = false;
        stale_ = true;
        if (reposition) browse_.PositionOnRecord(shell::PositionKind::ByEditedRecord);
        else reloadAfterSelection_ = true;
    }

    shell::PagedBrowse& browse_;
    shell::SBDiscsRec copy_{};
    std::string copyPosition_;
    std::string shownPosition_;
    bool haveCopy_ = false;
    bool stale_ = false;
    int column_ = kCustomColumn;
    bool reloadAfterSelection_ = false;

public:
    // A save made before a click's selection: the page is read again after it.
    bool TakeReload() { return std::exchange(reloadAfterSelection_, false); }
};

}  // namespace

void RenumberDiscs() {
    shell::FileUse discsInUse(shell::SBDiscsFile());
    shell::FileUse bookInUse(shell::SongBookFile());
    fw::File& discs = shell::SBDiscs();

    shell::BrowsePlan desc;
    desc.primary = &discs;
    desc.orders = {{discs.FindKey("SBD:KUNQDISKID")}, {discs.FindKey("SBD:KALTDISKID")}};
    desc.columns = [] { return fw::ui::ListRow{SBD.UNQDISKID.Str(), SBD.ALTDISKID.Str()}; };
    desc.activeOrder = [] { return fw::CHOICE(kSheet) == 2 ? 2 : 1; };

    fw::Window window(kRenumberWindow);
    window.Open();
    fw::SetSystemIcon("~songbook.ico");
    shell::WindowBrowseList list(kList, {});
    shell::PagedBrowse browse(desc, list);
    Renumbering edit(browse);

    while (window.Accept()) {
        const int event = window.Event();
        const fw::FieldId field = fw::FIELD();
        bool taken = false;
        if (event == fw::Event::GainFocus) browse.RequestResync();
        if (event == fw::Event::EditKey && field == kList) {
            edit.EditKey(fw::KEYCODE());
            taken = true;
        } else if (event == fw::Event::NewSelection && field == kList && fw::KEYCODE() == fw::KeyCode::MouseLeft) {
            // A click on another row or column: what was typed is saved first.
            edit.Save(false);
            edit.ChooseColumn(fw::GetProp(kList, fw::Prop::MouseDownField).Int());
        } else if (event == fw::Event::TabChanging && field == kSheet) {
            edit.Save(false);
        }
        if (!taken) browse.TakeEvent(event, window.Field(), fw::KEYCODE());
        if (edit.TakeReload()) browse.ReloadPage(shell::ReloadKind::FromPage);
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == kDeleteDisc) edit.DeleteDisc();
        if (accepted == kClose) {
            edit.Save(true);
            fw::POST(fw::Event::CloseWindow);
        }
        if (accepted == kHelp) shell::ShowProgramHelp(kRenumberHelpTopic);
        browse.SyncBrowse();
        edit.OpenCell();
    }
    shell::ActionOutcome() = shell::outcome::Cancelled;
}

}  // namespace songbook
