#include "platform/ui/program.h"

#include <QApplication>

#include "platform/ui/ui_state.h"
#include "platform/ui/window.h"

namespace fw {

int RunProgram(Procedure startup) {
    EnsureUiInstalled();
    runtime::SetAllEndedHook([] { QCoreApplication::exit(0); });
    int first = START([startup = std::move(startup)] {
        startup();
        // The first thread is done: the others are asked to close down
        // and the program waits until they have ended.
        Ui().closing = true;
        Ui().closeRefused = false;
        for (int t : runtime::LiveThreads())
            if (t != THREAD())
                if (Window* top = TopWindow(t)) top->SendCloseDown();
    });
    if (!first) return 1;
    return QApplication::exec();
}

}  // namespace fw
