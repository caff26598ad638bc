#include "printing/print_menus.h"

#include <string_view>
#include <utility>
#include <vector>

#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/program_procedures.h"

namespace printing {
namespace {

using MenuButtons = std::vector<std::pair<std::string_view, std::string_view>>;  // button, procedure

// Runs a menu window until Cancel or its close box: each button calls its
// procedure here and the menu is shown again when it returns.
void RunMenu(std::string_view label, const MenuButtons& buttons) {
    fw::SetSystemIcon("~songbook.ico");
    fw::Window window(label);
    window.Open();
    for (const auto& [button, procedure] : buttons)
        if (!shell::HasProgramProcedure(procedure)) fw::DISABLE(button);
    while (fw::ACCEPT()) {
        const fw::FieldId accepted = fw::ACCEPTED();
        for (const auto& [button, procedure] : buttons) {
            if (accepted != button) continue;
            shell::RunProgramProcedure(procedure);
            fw::DISPLAY();
        }
    }
    shell::ActionOutcome() = shell::outcome::Cancelled;
}

}  // namespace

void PrintMenu() {
    RunMenu("P1$PRINTMENU", {{"?PRINTSONGBOOK", "SongBookDesigner"},
                             {"?PRINTLABELS", "CdLabelSetup"},
                             {"?PRINTREQUESTSLIPS", "RequestCardSetup"},
                             {"?PRINTREPORTS", "ManagementReportsMenu"}});
}

void ManagementReportsMenu() {
    RunMenu("P1$MANAGEMENTREPORTSMENU",
            {{"?BUTTON2", "PrintSongTrackListing"}, {"?BUTTON2:2", "PrintDiscInventory"}});
}

}  // namespace printing
