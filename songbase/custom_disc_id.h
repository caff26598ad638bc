#pragma once
// CustomDiscId ("Custom/Alternate Disc ID"): asks the custom disc ID, and
// an optional genre for all its tracks, of one disc about to be tagged.
// The manufacturer's ID is the default; AutoNumber proposes the next free
// number; OK refuses an ID that is blank or used in the book or by another
// tag. With SKIPALTDISKID no window opens and the disc keeps its
// manufacturer's ID. Returns the entry to add (nothing when cancelled) and
// leaves DialogCancelled 0 or 1. Runs modally on the caller's thread.

#include "shell/tag_list.h"

#include <optional>
#include <string_view>

namespace songbase {

std::optional<shell::TagEntry> CustomDiscId(std::string_view unq, const shell::TagList& tags);

inline constexpr std::string_view kCustomDiscIdWindow = "P1$CUSTOMDISCID";

}  // namespace songbase
