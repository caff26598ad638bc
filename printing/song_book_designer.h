#pragma once
// The SongBook Designer: edits the print settings with a live sample,
// saves and recalls them as print setup files, and starts the song-book
// print on a thread of its own while it stays open. The Page Break Offset
// Adjustment window edits the one setting of that name.

namespace printing {

void SongBookDesigner();
void PageBreakOffsetAdjustment();

}  // namespace printing
