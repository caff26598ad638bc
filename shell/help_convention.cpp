#include "shell/help_convention.h"

#include "shell/data_dictionary_globals.h"
#include "shell/message_box.h"
#include "shell/program_startup.h"

#include "platform/os/help.h"

namespace shell {

bool ShowProgramHelp(std::string_view topic) {
    const bool modernHelp = OsVersionInfo.majorVersion > 4;
    switch (fw::ShowHelpTopic(InstallFolder.Clip(), modernHelp ? topic : std::string_view())) {
    case fw::OpenResult::Opened: return true;
    case fw::OpenResult::Failed:
        ShowMessage("The Help pages could not be shown: no web browser or viewer could be started.", "",
                    MessageIcon::Exclamation, button::OK, button::OK);
        return false;
    default: return false;
    }
}

}  // namespace shell
