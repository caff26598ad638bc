#pragma once
// Renumber Disc(s): the open book's discs, listed by Mfg. disc ID or by
// custom disc ID, with the custom ID typed over in the list's own cell, and
// the delete of a disc together with every listing on it.
//
// The cell of the highlighted disc is always open: "Custom ID" for typing,
// "Original ID" read only (a typed character there finds the next disc
// whose ID begins with it). Enter, the arrows, PgUp/PgDn, Home/End and Esc
// first save what was typed; Esc then closes the window. A click on another
// row saves too. Delete deletes a character: a disc goes only through
// "&Delete Disc" and its question, in one transaction with its listings.

#include <string_view>

namespace songbook {

inline constexpr std::string_view kRenumberWindow = "P1$RENUMBERDISCS";
inline constexpr std::string_view kRenumberHelpTopic = "RenumberingDisc(s).htm";

inline constexpr std::string_view kAltIdBlankText = "ERROR: Alternate Disc ID Cannot be Blank!";
inline constexpr std::string_view kAltIdInUseText = "ERROR: Alternate Disc ID Already in Use!";
inline constexpr std::string_view kRenumberErrorCaption = "ERROR";
inline constexpr std::string_view kDeleteDiscQuestion = "Are you sure you wish to delete this disc?";
inline constexpr std::string_view kDeleteDiscCaption = "Confirm Deletion";
inline constexpr std::string_view kDiscDeletedText = "Disc successfully deleted!";
inline constexpr std::string_view kDiscDeletedCaption = "Deletion Successful";

// Runs the window on the caller's thread; ActionOutcome is 2 afterwards.
void RenumberDiscs();

}  // namespace songbook
