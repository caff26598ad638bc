#pragma once
// The report definitions of the ten song-book layouts: one constants table
// of columns per layout, the rule texts, and the shared header, detail and
// footer bands built from them on the report engine.
//
// Element names the print loop sets by:
//   header  REPORTHEADER, COLUMNBAR (one column) or COLUMNBAR1/COLUMNBAR2,
//           the column headings HEADING1..3 (":2" in the right column) and
//           MAKEPROMPT (MAKEPROMPT:2)
//   detail  one column: LINE (rule), DETAILBOX (banded), SBK:Title,
//           SBK:Artist, MFR, SONGNO; two columns: the same per column as
//           LINE:1, TITLE:1, ARTIST:1, MFR:1, SONGNO:1 and ":2"
//   footer  STRING12 (by-line), STRING13 ("Page: <<<#"), PRINTFOOTER

#include <string>
#include <string_view>

#include "platform/report/report_definition.h"
#include "printing/song_book_layouts.h"

namespace printing {

// Where the bands lie on the paper (1 Letter, 2 A4), before any binding
// offset: the header, detail area and footer share x and width. The width
// is the layout's own, narrowed so that the pages shifted by the binding
// offset (odd pages right, even pages left) stay inside the printable area
// of the sheet; the bands lie in the middle of the sheet.
struct SongBookGeometry {
    int x = 0, width = 0;
    int columnWidth = 0, rightColumnX = 0;  // two columns: each column, and where the right one starts
    int headerY = 0;
    int detailY = 0, detailHeight = 0;
    int footerY = 0;
};
SongBookGeometry GeometryFor(ReportFamily family, int paperType, int bindingOffset = 0);

// Where each field of a column lies, relative to the column: the grouped
// layouts' group name starts at the column's edge (heading) and their
// entry text is indented under it.
struct FieldPlace {
    int x = 0, w = 0;
};
struct ColumnPlaces {
    FieldPlace title, artist, mfr, songNo;
};
ColumnPlaces ColumnPlacesFor(SongBookLayout layout, const SongBookGeometry& geometry);

// The full rule between groups and the indented rule between the entries
// of one group, as texts of blanks and underscores.
struct RuleTexts {
    std::string full, indented;
};
const RuleTexts& RulesOf(SongBookLayout layout);

// The element names of one column's detail fields (column 1 or 2 in the
// two-column layouts; 0 for the single-column ones).
struct ColumnNames {
    std::string rule, title, artist, mfr, songNo;
};
ColumnNames ColumnNamesFor(int column);

// The layout's definition for the paper and geometry, with a detail band
// of the given height (the row pitch). The rule is a line along the top of
// the row, between it and the row above.
fw::report::ReportDefinition SongBookDefinition(SongBookLayout layout, int paperType, int rowHeight,
                                                const SongBookGeometry& geometry);

}  // namespace printing
