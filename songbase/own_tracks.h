#pragma once
// Entering tracks and discs of the host's own into the open book: the next
// free track of a disc, a listing stored with its disc in one transaction,
// and the checks of a new disc. SongBook and SBDiscs are open on the
// calling thread; the record buffers SBK and SBD carry the values.

#include <cstdint>
#include <string>
#include <string_view>

namespace songbase {

// The disc every discless track (CAVS, MP3+G ...) belongs to: its unique
// and custom disc IDs are both "*".
inline constexpr std::string_view kDisclessDiscId = "*";
// The brand code and number of a one-of-a-kind disc of the host's own.
inline constexpr std::string_view kCustomBrandCode = "CU";
inline constexpr std::int32_t kCustomBrandNumber = 1;

// Listings numbered above this do not count for the next free track.
inline constexpr std::uint32_t kCountedTracks = 100000;
// The highest track number the track entries take.
inline constexpr std::uint32_t kHighestTrackNo = 999999;

// The track after the highest one of disc `unq` not above kCountedTracks;
// 1 when the disc has none. The disc ID compares ignoring case, as the key.
std::uint32_t NextFreeTrack(std::string_view unq);

enum class AddTrackResult {
    Added,       // the listing (and, when new, its disc) is stored
    TrackInUse,  // the disc has this track number already; nothing stored
    Failed,      // warning 14 shown; nothing stored
};

// Stores the listing in SBK, whose SBK.UnqDiskID holds the custom disc ID
// the user chose: the disc of that custom ID, else the disc whose unique
// disc ID it is, else a new disc with both IDs equal to it and blank brand
// fields. The listing goes under the disc's unique disc ID, dated today;
// disc and listing are written in one transaction, so a disc that cannot be
// added adds no listing. Afterwards SBK holds the listing as stored and
// `customId` the disc's custom disc ID.
AddTrackResult AddOwnTrack(std::string& customId);

enum class NewDiscProblem {
    None,
    NoCustomId,      // "Custom Disc Id is Required."
    CustomIdUsed,    // another disc of the book has the custom ID (any letter case)
    UniqueIdExists,  // a disc of the book has the unique disc ID
};

// Checks the new disc in SBD (both IDs filled in); for UniqueIdExists the
// existing disc's custom disc ID goes to `existingCustomId`. SBD is left as
// it was.
NewDiscProblem CheckNewDisc(std::string* existingCustomId = nullptr);

// The texts of the two windows.
inline constexpr std::string_view kRequiredText = "Song Title, Artist Name, Disc ID and Track# are Required";
inline constexpr std::string_view kTrackInUseText = "Track# already in use, please select another..";
inline constexpr std::string_view kAddAnotherText =
    "Track successfully added.||Do you wish to add another track to this disc?";
inline constexpr std::string_view kCustomIdRequiredText = "Custom Disc Id is Required.";
inline constexpr std::string_view kCustomIdUsedText =
    "This Custom Disc ID is Already Used.||Please select a unique Custom Disc ID.";
std::string DiscExistsText(std::string_view existingCustomId);
std::string TrackLimitText();

}  // namespace songbase
