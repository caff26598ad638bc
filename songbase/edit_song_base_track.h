#pragma once
// Edit Main SongBase Track: the record form that changes one KARAOKE
// track's title, artist and track number (RequestedAction 2, the track read
// with WATCH in KAR). Inserts and deletes are refused (warnings 19, 21).
// The change is written by UpdateSongBaseRecord; ActionOutcome 1 when it
// was written or left unchanged by OK, else 2.

#include "shell/record_form.h"

#include <string_view>

namespace songbase {

void EditSongBaseTrack();

// The form's program-wide memory (the ditto key's last saved track, the position).
shell::FormMemory& SongBaseTrackFormMemory();

inline constexpr std::string_view kBlankTitleText =
    "Please enter a Song Title.|A track without a title cannot be found by its title.";

}  // namespace songbase
