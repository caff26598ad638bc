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
// offset: the header, detail area and footer share x and width.
struct SongBookGeometry {
    int x = 0, width = 0;
    int headerY = 0;
    int detailY = 0, detailHeight = 0;
    int footerY = 0;
};
SongBookGeometry GeometryFor(ReportFamily family, int paperType);

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

// The characters the artist field holds (cut before printing).
std::size_t ArtistFieldChars(SongBookLayout layout);

// The layout's definition for the paper, with a detail band of the given
// height (the row pitch).
fw::report::ReportDefinition SongBookDefinition(SongBookLayout layout, int paperType, int rowHeight);

}  // namespace printing
