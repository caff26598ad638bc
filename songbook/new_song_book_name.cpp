#include "songbook/new_song_book_name.h"

#include "songbook/book_files.h"
#include "songbook/explorer_globals.h"

#include "platform/os/beep.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_thread_state.h"

#include <string>

namespace songbook {

void NewSongBookName() {
    ShortSongBookName.clear();
    SelectedBookPath.clear();
    std::string status;
    bool chosen = false;
    fw::Window window("P1$NEWSONGBOOKNAME");
    window.Use("?GLO:SHORTSONGBOOKNAME", ShortSongBookName);
    window.Use("?STATUSMESSAGE", status);
    window.Open();
    while (fw::ACCEPT()) {
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == "?OKBUTTON") {
            const std::size_t end = ShortSongBookName.find_last_not_of(' ');
            ShortSongBookName.erase(end == std::string::npos ? 0 : end + 1);
            const BookResult result = CheckNewBookName(CurrentFolder, ShortSongBookName);
            if (result.Ok()) {
                shell::SongBookName = result.path;
                chosen = true;
                fw::POST(fw::Event::CloseWindow);
            } else {
                status = result.message;  // "SongBook Name Already in Use", or the name is refused
                fw::DISPLAY();
                fw::BEEP();
            }
        } else if (accepted == "?CANCELBUTTON") {
            fw::POST(fw::Event::CloseWindow);
        }
    }
    // Cancel and the close box leave no name.
    if (!chosen) {
        ShortSongBookName.clear();
        SelectedBookPath.clear();
    }
    shell::ActionOutcome() = shell::outcome::Cancelled;
}

}  // namespace songbook
