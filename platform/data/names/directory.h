#pragma once
// DIRECTORY: the names in a folder that match a wildcard mask, into a queue.

#include "platform/data/queue/queue.h"
#include "platform/text/fixed_string.h"

#include <cstdint>
#include <string_view>

namespace fw {

// Attribute bits, for the mask and for the entries' ATTRIB.
inline constexpr int kAttrReadOnly = 0x01;
inline constexpr int kAttrHidden = 0x02;   // names that start with a point
inline constexpr int kAttrDirectory = 0x10;

// The framework's layout of a directory entry (prefix FIL). A queue of
// another layout also works: DIRECTORY fills whichever of the fields NAME,
// SHORTNAME, DATE, TIME, SIZE and ATTRIB it has.
struct DirectoryEntry {
    FString<256> NAME;       // the file's name without its folder
    FString<13> SHORTNAME;   // the name cut to 13 characters
    std::int32_t DATE = 0;   // day number of the last change
    std::int32_t TIME = 0;   // its time of day, hundredths since midnight plus 1
    std::int32_t SIZE = 0;   // bytes (at most 2^31 - 1)
    std::uint8_t ATTRIB = 0;
};
const RecordDecl& DirectoryEntryDecl();

// Adds an entry for every name in the mask's folder (the current folder when
// the mask has none) matching the mask's last part: "*" any characters, "?"
// one; case is ignored; "*.*" also matches names without a point. Files
// always, folders only with kAttrDirectory in `attributes`, hidden names only
// with kAttrHidden; never "." and "..". Entries come sorted by name without
// regard to case. ERRORCODE: 3 when the folder does not exist.
void DIRECTORY(Queue& queue, std::string_view mask, int attributes);

// The wildcard test DIRECTORY applies (names are program text).
bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace fw
