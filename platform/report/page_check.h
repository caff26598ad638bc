#pragma once
// Checks a finished page as a printer will put it on paper: every text is
// measured with the font metrics the renderer draws it with on a printer
// (its text space of kTextUnitsPerInch, the same on every device).
//
//   for (const std::string& fault : fw::report::CheckPage(page, pageCount)) ADD_FAILURE() << fault;
//
// A page is whole when
//   - every text fits its element: its advance within the element's width,
//     its line (ascent and descent) within the element's height;
//   - nothing is drawn outside the printable area: the sheet less a margin
//     that every printer can print (a quarter of an inch each side);
//   - no two texts are drawn over each other (caps height to descent), and
//     no rule line runs through a text.
// Boxes and ellipses lie behind texts by design and are only held to the
// printable area.

#include <string>
#include <vector>

#include "platform/report/display_list.h"

namespace fw::report {

// The margin every printer prints within, in thousandths of an inch.
inline constexpr int kPrintableMargin = 250;

// The printable area of a page's sheet.
Rect PrintableArea(const Page& page, int margin = kPrintableMargin);

// The faults of a page, one readable line each; none when it is whole.
std::vector<std::string> CheckPage(const Page& page, int pageCount, int margin = kPrintableMargin);

}  // namespace fw::report
