#include "songbook/rename_song_book.h"

#include "songbook/book_files.h"
#include "songbook/book_paths.h"
#include "songbook/book_texts.h"
#include "songbook/explorer_globals.h"

#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/window_placement.h"

#include <string>

namespace songbook {
namespace {

// OK: true when the window is to close.
bool TryRename(const std::string& newName) {
    const BookResult result = RenameBook(SelectedBookPath, newName);
    switch (result.status) {
    case BookStatus::Done:
        SelectedBookPath = result.path;
        ShortSongBookName = BookNameOf(result.path) + ".2bk";
        BookRenamed = 1;
        return true;
    case BookStatus::Unchanged: BookRenamed = 0; return true;
    case BookStatus::NameInUse: fw::MESSAGE(text::kRenameNameInUse); return false;
    default: {
        // An invalid name, a book in use or a failed rename: the book is as
        // it was, and the user may try another name or cancel.
        std::string message = result.message;
        if (!result.detail.empty()) message += "|" + result.detail;
        fw::MESSAGE(message, {}, fw::Icon::Exclamation);
        return false;
    }
    }
}

}  // namespace

void RenameSongBook() {
    std::string newName = BookNameOf(SelectedBookPath);
    fw::Window window("P1$RENAMESONGBOOK");
    window.Use("?NEWNAME", newName);
    window.Open();
    shell::RestoreWindowPlacement("songbook.ini", "RenameSongBook");
    while (fw::ACCEPT()) {
        if (fw::EVENT() == fw::Event::CloseWindow) shell::SaveWindowPlacement("songbook.ini", "RenameSongBook");
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == "?BUTTON1" && TryRename(newName)) fw::POST(fw::Event::CloseWindow);
        else if (accepted == "?BUTTON2") fw::POST(fw::Event::CloseWindow);
    }
    shell::ActionOutcome() = shell::outcome::Cancelled;
}

}  // namespace songbook
