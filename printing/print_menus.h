#pragma once
// The Print Menu and the Management Reports Menu: picture buttons that call
// the printing windows on the song-book window's thread and come back to
// the menu when they close. A button whose window the program does not
// have yet is disabled.

namespace printing {

void PrintMenu();
void ManagementReportsMenu();

}  // namespace printing
