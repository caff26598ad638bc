#pragma once
// The event and key codes the browse and the progress process act on:
// the window layer's, under one short name.

#include "platform/ui/events.h"

namespace shell::codes {
using namespace fw::Event;
using namespace fw::KeyCode;
}  // namespace shell::codes
