#pragma once
// FastFindDisc ("FastFind"): finds the song-base discs whose first track has
// a given title (manufacturers sell one disc under several brands), shows a
// candidate's tracks and tags the right one, with its custom disc ID, into
// the tag list of the add-discs window that started it. Started on a thread
// of its own by that window's FastFind button, any number at a time; each
// closes when the add-discs window closes.

#include <string_view>

namespace songbase {

void FastFindDisc();

inline constexpr std::string_view kFastFindWindow = "P1$FASTFIND";
inline constexpr std::string_view kAlreadyTaggedText = "Disc already tagged for autoentry.";
inline constexpr std::string_view kNoTitleText = "Please enter the Song Title of the FIRST Track on the Disc.";

}  // namespace songbase
