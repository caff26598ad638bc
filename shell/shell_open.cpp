#include "shell/shell_open.h"

#include "shell/message_box.h"

#include "platform/os/web_address.h"
#include "platform/text/strings.h"

namespace shell {

bool ShellOpenDocument(std::string_view text) {
    switch (fw::OpenWebAddress(fw::CLIP(text))) {
    case fw::OpenResult::Opened: return true;
    case fw::OpenResult::Failed:
        ShowMessage("The web page " + std::string(fw::CLIP(text)) + " could not be shown: no web browser could be started.",
                    "", MessageIcon::Exclamation, button::OK, button::OK);
        return false;
    default: return false;
    }
}

}  // namespace shell
