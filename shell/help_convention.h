#pragma once
// How every Help button and the frame's Help item show help: the topic's
// page in the install folder's help folder ("WorkingWithSongBook.htm"; no
// topic: the index page). On a system whose major version is 4 or below
// (the old-style help) every window shows the index page.

#include <string_view>

namespace shell {

// Returns whether a page was opened; a missing page shows nothing.
bool ShowProgramHelp(std::string_view topic = {});

}  // namespace shell
