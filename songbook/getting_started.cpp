#include "songbook/getting_started.h"

#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/window_placement.h"

namespace songbook {

void GettingStarted() {
    fw::Window window("P1$GETTINGSTARTED");
    window.Open();
    shell::RestoreWindowPlacement("songbook.ini", "gettingstarted");
    while (fw::ACCEPT()) {
        if (fw::EVENT() == fw::Event::CloseWindow) shell::SaveWindowPlacement("songbook.ini", "gettingstarted");
        if (fw::ACCEPTED() == "?OKBUTTON") fw::POST(fw::Event::CloseWindow);
    }
    shell::ActionOutcome() = shell::outcome::Cancelled;
}

}  // namespace songbook
