#include "shell/help_convention.h"

#include "shell/data_dictionary_globals.h"
#include "shell/program_startup.h"

#include "platform/os/help.h"

namespace shell {

bool ShowProgramHelp(std::string_view topic) {
    const bool modernHelp = OsVersionInfo.majorVersion > 4;
    return fw::ShowHelpTopic(InstallFolder.Clip(), modernHelp ? topic : std::string_view());
}

}  // namespace shell
