#include "shell/process_window.h"

#include "platform/data/file_ops.h"
#include "platform/ui/window.h"
#include "shell/browse_codes.h"
#include "shell/data_dictionary_thread_state.h"

#include <cstdint>
#include <string>

namespace shell {

PassState RunProgressProcess(const ProgressSpec& desc) {
    std::int32_t percentShown = 0;
    std::string pctText = "0% Completed";
    std::string userText = desc.userText;
    ProgressPass pass(desc);

    fw::Window window("P1$PROGRESSWINDOW");
    window.Use("?PROGRESS:THERMOMETER", percentShown);
    window.Use("?PROGRESS:USERSTRING", userText);
    window.Use("?PROGRESS:PCTTEXT", pctText);
    window.Open();
    window.Set(fw::Prop::Text, desc.caption.empty() ? std::string("Processing Records") : desc.caption);
    fw::SEND(*desc.primary, "QUICKSCAN=on");
    const int cancel = window.Feq("?PROGRESS:CANCEL");

    auto showPercent = [&] {
        if (pass.PercentDone() == percentShown) return;
        percentShown = pass.PercentDone();
        pctText = ProgressPass::PercentText(percentShown);
        window.Display();
    };

    while (window.Accept()) {
        switch (window.Event()) {
        case codes::OpenWindow:
            pass.Start();
            if (pass.State() != PassState::Running) {
                window.Post(codes::CloseWindow);
                window.Cycle();
            }
            showPercent();
            break;
        case codes::Timer:
            if (pass.State() != PassState::Running) break;
            pass.Slice();
            showPercent();
            if (pass.State() == PassState::Completed) {
                pctText = "Process Completed";
                window.Display();
            }
            if (pass.State() != PassState::Running) window.Post(codes::CloseWindow);
            break;
        case codes::Accepted:
            if (window.Field() == cancel) {
                pass.Cancel();
                window.Post(codes::CloseWindow);
            }
            break;
        default: break;
        }
    }
    fw::SEND(*desc.primary, "QUICKSCAN=off");
    const PassState state = pass.State() == PassState::Running ? PassState::Cancelled : pass.State();
    ActionOutcome() = state == PassState::Completed ? outcome::Completed : outcome::Cancelled;
    return state;
}

}  // namespace shell
