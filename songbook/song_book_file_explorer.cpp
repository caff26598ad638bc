#include "songbook/song_book_file_explorer.h"

#include "songbook/book_backup.h"
#include "songbook/book_files.h"
#include "songbook/book_folder.h"
#include "songbook/book_paths.h"
#include "songbook/book_texts.h"
#include "songbook/explorer_globals.h"
#include "songbook/new_song_book_name.h"
#include "songbook/rename_song_book.h"

#include "platform/data/names/name_ops.h"
#include "platform/os/beep.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/controls/control_kinds.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_thread_state.h"

#include <string>
#include <vector>

namespace songbook {
namespace {

// Shows a refusal or failure of the book service, with its detail below.
// Extractions of fewer bytes end too soon for progress to be worth showing.
constexpr std::uint64_t kShowProgressFrom = std::uint64_t{4} << 20;

void ShowProblem(const BookResult& result) {
    std::string text = result.message;
    if (!result.detail.empty()) text += "|" + result.detail;
    fw::MESSAGE(text, {}, fw::Icon::Exclamation);
}

bool AskReplace(std::string_view bookName) {
    return fw::MESSAGE(text::ReplaceQuestion(bookName), {}, fw::Icon::Question, fw::Button::Yes + fw::Button::No,
                       fw::Button::No) == fw::Button::Yes;
}

// A folder chosen in the folder dialog, which starts in the current folder
// (CurrentFolder); empty when cancelled.
std::string ChooseFolder(std::string_view title) {
    std::string folder;
    if (!fw::FILEDIALOG(title, folder, {}, fw::FileDialogFlag::Directory | fw::FileDialogFlag::LongName)) return {};
    return folder;
}

class Explorer {
public:
    std::string status;  // ?STATUSMESSAGE

    // Lists CurrentFolder again. The selected book keeps its highlight; a
    // selected book that is gone is no longer selected.
    void Refresh() {
        books_ = ListBooks(CurrentFolder);
        std::vector<fw::ui::ListRow> rows;
        int selected = 0;
        for (std::size_t i = 0; i < books_.size(); ++i) {
            rows.push_back({books_[i].name});
            if (books_[i].path == SelectedBookPath) selected = static_cast<int>(i) + 1;
        }
        static_cast<fw::ListControl&>(fw::ControlOf("?LIST")).SetRows(std::move(rows));
        if (selected == 0) ClearSelection();
        fw::SetProp("?LIST", fw::Prop::Selected, selected);
        fw::DISPLAY();
    }

    // The book at the list's highlight becomes the selected book.
    void SelectHighlighted() {
        const int row = fw::CHOICE("?LIST");
        if (row < 1 || row > static_cast<int>(books_.size())) return;
        SelectBook(books_[row - 1].path);
        fw::DISPLAY();
    }

    static void SelectBook(const std::string& path) {
        SelectedBookPath = path;
        ShortSongBookName = BookNameOf(path) + ".2bk";
    }

    static void ClearSelection() {
        SelectedBookPath.clear();
        ShortSongBookName.clear();
    }

    // The commands; each returns true when the explorer is to close.
    bool Open() {
        shell::SongBookName.Clear();
        if (SelectedBookPath.empty()) {
            fw::MESSAGE(text::kSelectToOpen);
            return false;
        }
        shell::SongBookName = SelectedBookPath;
        return true;
    }

    bool New() {
        NewSongBookName();
        return !ShortSongBookName.empty();  // the new book's path is in SongBookName
    }

    void ChangeFolder() {
        ClearSelection();
        const std::string folder = ChooseFolder(text::kSelectNewFolder);
        if (folder.empty()) {
            Refresh();
            return;
        }
        fw::SETPATH(folder);
        CurrentFolder = fw::LONGPATH(folder);
        Refresh();
    }

    void SetAsDefault() { SaveDefaultFolder(CurrentFolder); }

    void Rename() {
        if (SelectedBookPath.empty()) {
            fw::MESSAGE(text::kSelectToRename);
            return;
        }
        BookRenamed = 0;
        RenameSongBook();
        if (BookRenamed != 1) return;
        fw::BEEP(fw::BeepSystemAsterisk);
        status = text::kRenamed;
        Refresh();
    }

    void Delete() {
        if (SelectedBookPath.empty()) {
            fw::MESSAGE(text::kSelectToDelete);
            status.clear();
            fw::DISPLAY();
            return;
        }
        const std::string shown = JoinPath(FolderOf(SelectedBookPath), BookNameOf(SelectedBookPath));
        if (fw::MESSAGE(std::string(text::kConfirmDelete) + shown, {}, fw::Icon::Question,
                        fw::Button::Yes + fw::Button::No, fw::Button::No) != fw::Button::Yes) {
            status.clear();
            fw::DISPLAY();
            return;
        }
        const BookResult result = DeleteBook(SelectedBookPath);
        if (!result.Ok()) {
            status.clear();
            Refresh();
            ShowProblem(result);
            return;
        }
        ClearSelection();  // Open must not name the book just deleted
        Refresh();
        fw::BEEP(fw::BeepSystemAsterisk);
        status = result.message;
        fw::DISPLAY();
    }

    void Move() {
        if (SelectedBookPath.empty()) {
            fw::MESSAGE(text::kSelectToMove);
            return;
        }
        const std::string folder = ChooseFolder(text::kSelectDestination);
        if (folder.empty()) return;
        const BookResult result = MoveBook(SelectedBookPath, folder, AskReplace);
        if (result.status == BookStatus::Declined) return;
        if (!result.Ok()) {
            ShowProblem(result);
            return;
        }
        ClearSelection();
        fw::SETPATH(CurrentFolder);
        Refresh();
        fw::BEEP();
        status = result.message;
        fw::DISPLAY();
        if (!result.detail.empty()) fw::MESSAGE(result.detail, {}, fw::Icon::Exclamation);
    }

    void Backup() {
        if (SelectedBookPath.empty()) {
            fw::MESSAGE(text::kSelectToBackup);
            return;
        }
        const std::string folder = ChooseFolder(text::kSelectBackupDestination);
        if (folder.empty()) return;
        status = text::kBackupProgress;
        fw::DISPLAY();
        fw::SETCURSOR(fw::Cursor::Wait);
        const BookResult result = BackupBook(SelectedBookPath, folder);
        fw::SETCURSOR();
        if (!result.Ok()) {
            ShowProblem(result);
            return;
        }
        status = result.message;
        fw::BEEP(fw::BeepSystemAsterisk);
        Refresh();
    }

    void Restore() {
        std::string archive;
        if (!fw::FILEDIALOG(text::kSelectBackupFile, archive, text::kBackupFileFilter, fw::FileDialogFlag::LongName))
            return;
        status = text::kRestoreProgress;
        fw::DISPLAY();
        fw::SETCURSOR(fw::Cursor::Wait);
        // A long extraction shows how far it has come.
        int shown = -1;
        const auto progress = [this, &shown](std::uint64_t done, std::uint64_t total) {
            if (total < kShowProgressFrom) return;
            const int percent = static_cast<int>(done * 100 / total);
            if (percent == shown) return;
            shown = percent;
            status = std::string(text::kRestoreProgress) + " " + std::to_string(percent) + "%";
            fw::DISPLAY();
        };
        const BookResult result = RestoreBooks(archive, CurrentFolder, AskReplace, progress);
        fw::SETCURSOR();
        if (result.status == BookStatus::Declined) {
            status.clear();
            fw::DISPLAY();
            return;
        }
        if (!result.Ok()) {
            ShowProblem(result);
            return;
        }
        status = result.message;
        fw::BEEP(fw::BeepSystemAsterisk);
        Refresh();
    }

private:
    std::vector<BookEntry> books_;
};

}  // namespace

void SongBookFileExplorer() {
    CurrentFolder = StartFolder();
    fw::SETPATH(CurrentFolder);  // relative names used later resolve in the listed folder
    Explorer::ClearSelection();
    shell::SongBookName.Clear();

    fw::Window window("P1$SONGBOOKEXPLORER");
    Explorer explorer;
    window.Use("?STATUSMESSAGE", explorer.status);
    window.Use("?LONGNEWPATH", CurrentFolder);
    window.Open();
    explorer.Refresh();
    while (fw::ACCEPT()) {
        switch (fw::EVENT()) {
        case fw::Event::GainFocus: explorer.Refresh(); break;  // files changed elsewhere show up
        case fw::Event::Sized: explorer.Refresh(); break;
        default: break;
        }
        if (fw::FIELD() == "?LIST" &&
            (fw::EVENT() == fw::Event::NewSelection || fw::EVENT() == fw::Event::Accepted))
            explorer.SelectHighlighted();

        const fw::FieldId accepted = fw::ACCEPTED();
        bool close = false;
        if (accepted == "?BUTTON6") close = explorer.Open();
        else if (accepted == "?BUTTON11") {
            shell::SongBookName.Clear();
            close = true;
        } else if (accepted == "?BUTTON5") close = explorer.New();
        else if (accepted == "?BUTTON2") explorer.ChangeFolder();
        else if (accepted == "?BUTTON10") explorer.SetAsDefault();
        else if (accepted == "?BUTTON3") explorer.Rename();
        else if (accepted == "?BUTTON4") explorer.Delete();
        else if (accepted == "?BUTTON9") explorer.Move();
        else if (accepted == "?BUTTON7") explorer.Backup();
        else if (accepted == "?BUTTON8") explorer.Restore();
        if (close) fw::POST(fw::Event::CloseWindow);
    }
    shell::ActionOutcome() = shell::outcome::Cancelled;
}

}  // namespace songbook
