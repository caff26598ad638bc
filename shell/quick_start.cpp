#include "shell/quick_start.h"

#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/program_events.h"
#include "shell/program_procedures.h"

#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace shell {
namespace {

fw::Window*& Panel() {
    static fw::Window* panel = nullptr;
    return panel;
}

struct PanelOpen {
    explicit PanelOpen(fw::Window& window) { Panel() = &window; }
    ~PanelOpen() { Panel() = nullptr; }
    PanelOpen(const PanelOpen&) = delete;
    PanelOpen& operator=(const PanelOpen&) = delete;
};

void SetEnabled(const char* equate, bool enabled) {
    if (enabled) fw::ENABLE(equate);
    else fw::DISABLE(equate);
}

// Runs a procedure of a later part on this thread, then shows the panel
// again with its buttons as they now stand.
void RunFromPanel(const ProgramProcedure& procedure) {
    if (!procedure) return;
    const ProgramProcedure run = procedure;
    run();
    UpdateQuickStartButtons();
    fw::DISPLAY();
}

}  // namespace

void UpdateQuickStartButtons() {
    fw::Window* panel = Panel();
    if (!panel) return;
    // The frame calls this from its own thread: the panel's window is
    // named as the target for the two properties, then the caller's again.
    fw::SETTARGET(panel);
    const OpenGuard& guard = FrameOpenGuard();
    SetEnabled("?BUTTON1", guard.OpenAllowed() && BrowseSongBook());
    SetEnabled("?BUTTON1:3", guard.AutoUpdateAllowed() && AutoUpdateWizard());
    fw::SETTARGET();
}

void QuickStart() {
    fw::Window window("P1$QUICKSTARTWINDOW");
    window.Use("?GLO:COMPANYNAME", Glo().COMPANYNAME);
    window.Open();
    PanelOpen open(window);
    UpdateQuickStartButtons();
    while (fw::ACCEPT()) {
        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == "?BUTTON1") RunFromPanel(BrowseSongBook());
        else if (accepted == "?BUTTON1:3") RunFromPanel(AutoUpdateWizard());
    }
    ActionOutcome() = outcome::Cancelled;
}

}  // namespace shell
