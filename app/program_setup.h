#pragma once
// The program's services connected as main() runs them, once Qt has
// started: report fonts, the window runtime, the data layer, the song-book
// window and every subsystem's procedures, then the tidy-up of what a
// stopped book operation left. The tests start the program through it too.

namespace app {

void SetUpProgram();

}  // namespace app
