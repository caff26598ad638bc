#pragma once
// View/Change Main SongBase: every track of the Main SongBase with its
// brand, by title, artist or disc and track (three tabs), on the calling
// thread. Edit (also a double-click or Ctrl+Enter) calls EditSongBaseTrack.
// Reads RequestedAction (4: select) and leaves ActionOutcome 1 when a
// track was selected, else 2.

namespace songbase {

void BrowseSongBase();

// The list's FORMAT as the window opens, and after a change to tab n (1..3).
extern const char* const kSongBaseOpeningFormat;
const char* SongBaseTabFormat(int tab);

}  // namespace songbase
