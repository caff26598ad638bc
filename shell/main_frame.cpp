#include "shell/main_frame.h"

#include "shell/about_window.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/help_convention.h"
#include "shell/program_events.h"
#include "shell/program_procedures.h"
#include "shell/quick_start.h"

#include "platform/runtime/scheduler.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace shell {
namespace {

constexpr const char* kProgramIcon = "~songbook.ico";

void SetEnabled(const char* equate, bool enabled) {
    if (enabled) fw::ENABLE(equate);
    else fw::DISABLE(equate);
}

// Open and AutoUpdate as the count and the program's procedures allow.
void ApplyGuard() {
    const OpenGuard& guard = FrameOpenGuard();
    SetEnabled("?FILEOPENSONGBOOK", guard.OpenAllowed() && BrowseSongBook());
    SetEnabled("?FILEUPDATEDATAFILES", guard.AutoUpdateAllowed() && AutoUpdateWizard());
    UpdateQuickStartButtons();
}

void ComposeCaption() {
    if (fw::GetProp({}, fw::Prop::AcceptAll).Bool()) return;
    fw::SetProp({}, fw::Prop::Text, FrameCaption());
}

}  // namespace

std::string FrameCaption() { return ProgramTitle.Str() + " " + ProgramVersion.Str() + "C"; }

void MainFrame() {
    SetSongBaseFileNames(InstallFolder.Clip());
    RequestedAction() = 0;
    ActionOutcome() = 0;
    FrameOpenGuard() = OpenGuard{};

    fw::Window frame("P1$APPFRAME");
    frame.Open();
    fw::SetSystemIcon(kProgramIcon);
    if (fw::GetProp({}, fw::Prop::Icon).Str().empty()) fw::SetProp({}, fw::Prop::Icon, kProgramIcon);
    ApplyGuard();
    fw::START(QuickStart);

    bool first = true;
    while (fw::ACCEPT()) {
        const int event = fw::EVENT();
        switch (event) {
        case fw::Event::OpenWindow:
        case fw::Event::GainFocus:
            if (first) {
                FrameThread = static_cast<std::uint8_t>(fw::THREAD());
                first = false;
                // What the start's recovery of an interrupted AutoUpdate did.
                RunProgramProcedure("AutoUpdateNotice");
            }
            ComposeCaption();
            break;
        case fw::Event::Sized: ComposeCaption(); break;
        case fw::Event::Size:
        case fw::Event::Restore:
        case fw::Event::Maximize: FrameResized = 1; break;
        default:
            if (FrameOpenGuard().Note(event)) ApplyGuard();
            break;
        }

        const fw::FieldId accepted = fw::ACCEPTED();
        if (accepted == "?FILEOPENSONGBOOK") {
            if (BrowseSongBook()) fw::START(BrowseSongBook());
        } else if (accepted == "?FILEUPDATEDATAFILES") {
            if (const ProgramProcedure wizard = AutoUpdateWizard()) {
                // The wizard's own events reach the frame only after the
                // call returns; the frame holds the items (and Quick
                // Start's buttons) itself while it runs.
                FrameOpenGuard().Note(program_event::DisableOpenAndUpdate);
                ApplyGuard();
                wizard();
                FrameOpenGuard().Note(program_event::EnableOpenAndUpdate);
                ApplyGuard();
            }
        } else if (accepted == "?UTILITIESHIDETOOLTIPS") {
            fw::SetNoTips(!fw::NoTips());
        } else if (accepted == "?HELPINDEX") {
            ShowProgramHelp();
        } else if (accepted == "?HELPABOUTCANTORVALEPLUS") {
            AboutWindow();
        }
    }
    ActionOutcome() = outcome::Cancelled;
}

}  // namespace shell
