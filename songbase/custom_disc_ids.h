#pragma once
// Custom disc IDs: the settings of "tag &All" and the custom-ID prompt, the
// numeric value of an ID, the next free number, the numbered IDs of a
// tag-all, and the check every tagged disc's ID passes, whatever the route:
// cut to 15 characters, not blank, and used neither in the open book nor
// by another tag, letter case ignored.

#include "platform/text/fixed_string.h"
#include "shell/tag_list.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace songbase {

// Program-wide settings, kept for the run.
inline std::uint8_t BATCHADDTYPE = 0;          // 0 none, 1 AutoNumber, 2 one at a time, 3 the Mfr. disc ID
inline std::uint32_t BATCHSTARTINGNUMBER = 0;  // first number of AutoNumber (at most 9 digits)
inline fw::FString<3> BATCHPRE;                // its prefix
inline fw::FString<3> BATCHSUF;                // and suffix
inline std::uint8_t MultiTagConfirmed = 0;     // 1 when "MultiTag Options" was confirmed
inline std::uint8_t SKIPALTDISKID = 0;         // 1: no prompt, every disc keeps its Mfr. disc ID

inline constexpr std::size_t kCustomIdLength = 15;   // as SBD:ALTDISKID stores it
inline constexpr std::int64_t kMaxCustomNumber = 999'999'999;  // 9 digits: prefix, number and suffix fit in 15

// The numeric value of an ID: its de-formatted text (digits, the first
// point, a leading minus ... "CB101-1" gives 1011) read as a decimal and
// cut to its whole part, in 64 bits. Malformed, not finite or above
// kMaxCustomNumber: 0.
std::int64_t CustomIdNumber(std::string_view id);

// The ID as the book stores it: trailing blanks off, cut to 15 characters.
std::string ClipCustomId(std::string_view id);

// The highest numeric value among the open book's custom IDs (SBDiscs open
// on this thread) and the tags' IDs; 0 when none is above 0. SBD is left
// as it was.
std::int64_t HighestCustomNumber(const shell::TagList& tags);
// One more: the number AutoNumber proposes.
std::int64_t NextCustomNumber(const shell::TagList& tags);

// A tag-all method 1 ID: the clipped prefix, the number in decimal, the
// clipped suffix, cut to 15 characters.
std::string NumberedCustomId(std::string_view prefix, std::int64_t number, std::string_view suffix);

enum class CustomIdProblem { None, Blank, UsedByTag, UsedInBook };

// Whether disc `unq` may carry custom ID `id`: not blank, no other tag
// with that ID, no other disc of the book with it (the disc's own record
// in the book does not count). Compared cut to 15 characters, ignoring
// case. SBD is left as it was.
CustomIdProblem CheckCustomId(std::string_view id, const shell::TagList& tags, std::string_view unq);

// Whether the book has disc `unq`; its custom ID into `altInBook` when it
// has. SBD is left as it was.
bool DiscInBook(std::string_view unq, std::string* altInBook = nullptr);

// The prompt's message line for a refused ID.
std::string_view CustomIdProblemText(CustomIdProblem problem);

// The refusals, as message boxes (with a beep): a disc the book holds
// already, and a disc whose custom ID cannot be used.
void RefuseDiscAlreadyAdded(std::string_view altInBook);
void RefuseCustomId(std::string_view unq, std::string_view id, CustomIdProblem problem);

// Message texts.
inline constexpr std::string_view kDiscAlreadyAddedCaption = "Disc Already Added!";
std::string DiscAlreadyAddedText(std::string_view altInBook);
inline constexpr std::string_view kCustomIdUsedText = "Custom Disc ID Already Used!";
inline constexpr std::string_view kCustomIdBlankText = "Custom Disc ID Cannot be Blank!";
std::string CustomIdRefusedText(std::string_view unq, std::string_view id, CustomIdProblem problem);

}  // namespace songbase
