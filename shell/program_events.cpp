#include "shell/program_events.h"

#include "platform/ui/window.h"

namespace shell {

void PostFrameEvent(int event) {
    if (fw::Window* frame = fw::FrameWindow()) frame->Post(event);
}

bool OpenGuard::Note(int event) {
    // An enabling event without its disabling one is not counted below
    // zero, so it cannot leave the items on while a window holds them.
    switch (event) {
    case program_event::DisableAutoUpdate: ++updateHeld_; return true;
    case program_event::EnableAutoUpdate: if (updateHeld_ > 0) --updateHeld_; return true;
    case program_event::DisableOpenAndUpdate: ++openHeld_; return true;
    case program_event::EnableOpenAndUpdate: if (openHeld_ > 0) --openHeld_; return true;
    default: return false;
    }
}

OpenGuard& FrameOpenGuard() {
    static OpenGuard guard;
    return guard;
}

}  // namespace shell
