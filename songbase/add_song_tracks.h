#pragma once
// AddSongTracks ("Add Song Tracks"): the host's own tracks entered into the
// open book one at a time: title and artist (offered from the song base),
// a disc of the book chosen by its custom disc ID or the discless disc "*",
// the track number (proposed as the disc's next free track), the brand code
// and the do-not-print mark. Its plus button adds a disc (AddDisc). Called
// by the song-book window on its thread, which reads its lists again after.

#include <string_view>

namespace songbase {

void AddSongTracks();

inline constexpr std::string_view kAddSongTracksWindow = "P1$ADDSONGTRACKS";
inline constexpr std::string_view kAddTracksHelpTopic = "AddTracks.htm";

}  // namespace songbase
