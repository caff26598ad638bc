#pragma once
// AddDisc ("Add Disc to Library"): a disc of the host's own for the open
// book: a custom disc ID, optionally the manufacturer's disc ID, its brand
// and brand code, or a one-of-a-kind custom disc (brand code "CU"). Refuses
// a missing custom ID, a custom ID the book uses (in any letter case) and a
// disc the book has, restoring what the user entered. On success SBK's
// UnqDiskID is the new disc's custom disc ID and SBD the disc; cancelled,
// SBD is blank. Called from Add Song Tracks on its thread; its placement is
// kept in songbook.ini, section "adddisc".

#include <string_view>

namespace songbase {

void AddDisc();

inline constexpr std::string_view kAddDiscWindow = "P1$ADDDISC";

}  // namespace songbase
