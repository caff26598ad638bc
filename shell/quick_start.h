#pragma once
// The Quick Start panel, an MDI child without a caption on a thread of its
// own: Start opens a song book (the song-book window on this thread),
// AutoUpdate runs the wizard. Both buttons follow the frame's count of
// the program events, as the frame's Open and AutoUpdate items do.

namespace shell {

void QuickStart();

// Sets the open panel's buttons from the frame's count; nothing when the
// panel is not open.
void UpdateQuickStartButtons();

}  // namespace shell
