#pragma once
// The program's MDI application frame: the Main SongBase's file names from
// the install folder, the menus, the Quick Start panel on a thread of its
// own, the program events that switch Open and AutoUpdate, the tool-tip
// switch and the help index. Returns when the frame has closed.

#include <string>

namespace shell {

// ProgramTitle, a blank, ProgramVersion and a "C".
std::string FrameCaption();

void MainFrame();

}  // namespace shell
