#include "songbase/multi_tag_options.h"

#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "songbase/custom_disc_ids.h"

#include <algorithm>

namespace songbase {

namespace {

// The controls of method 1; methods 2 and 3 each show one text instead.
constexpr const char* kNumberingControls[] = {"?BATCHSTARTINGNUMBERPROMPT", "?BATCHSTARTINGNUMBER", "?BATCHPRE",
                                              "?BATCHSUF", "?STRING3", "?STRING4", "?LINE1", "?LINE2",
                                              "?STRING5", "?STRING6", "?STRING7"};

void ShowMethod(int method) {
    for (const char* c : kNumberingControls) {
        if (method == 1) fw::UNHIDE(c);
        else fw::HIDE(c);
    }
    if (method == 2) fw::UNHIDE("?STRING1");
    else fw::HIDE("?STRING1");
    if (method == 3) fw::UNHIDE("?STRING2");
    else fw::HIDE("?STRING2");
}

}  // namespace

bool MultiTagOptions(const shell::TagList& tags) {
    shell::ActionOutcome() = shell::outcome::Cancelled;
    if (SKIPALTDISKID == 1) {
        BATCHADDTYPE = 3;
        MultiTagConfirmed = 1;
        return true;
    }
    MultiTagConfirmed = 0;
    shell::FileUse discFile(shell::SBDiscsFile());
    BATCHADDTYPE = 0;
    BATCHPRE = "";
    BATCHSUF = "";
    BATCHSTARTINGNUMBER = static_cast<std::uint32_t>(std::min(NextCustomNumber(tags), kMaxCustomNumber));

    fw::Window window{std::string(kMultiTagOptionsWindow)};
    window.Use("?BATCHADDTYPE", BATCHADDTYPE);
    window.Use("?BATCHSTARTINGNUMBER", BATCHSTARTINGNUMBER);
    window.Use("?BATCHPRE", BATCHPRE);
    window.Use("?BATCHSUF", BATCHSUF);
    window.Open();
    fw::SetSystemIcon("~songbook.ico");
    ShowMethod(0);
    while (fw::ACCEPT()) {
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == "?BATCHADDTYPE") {
            ShowMethod(BATCHADDTYPE);
        } else if (accepted == "?OKBUTTON") {
            if (BATCHADDTYPE == 0) {
                fw::MESSAGE(kChooseMethodText, {}, fw::Icon::None, fw::Button::Ok);
                continue;
            }
            MultiTagConfirmed = 1;
            fw::POST(fw::Event::CloseWindow);
        } else if (accepted == "?CANCELBUTTON") {
            MultiTagConfirmed = 0;
            fw::POST(fw::Event::CloseWindow);
        }
    }
    return MultiTagConfirmed == 1;
}

}  // namespace songbase
