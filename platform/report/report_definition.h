#pragma once
// A report's definition: paper, a page form drawn under everything, page
// header and footer bands, detail bands, and the elements of each band.
// Each layout builds its definition from one constants table of bands and
// one of elements (BuildDefinition); a report then changes elements by
// name while it runs (Report::Element).

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/report/report_types.h"

namespace fw::report {

enum class ElementKind { Text, Box, Ellipse, Line, Image };
enum class Align { Left, Centre, Right };

// Where a text element's words come from.
enum class TextSource {
    Literal,     // text as it stands
    PageNumber,  // text is a picture such as "Page: <<<#" filled with the page number
    PageOfCount  // text is a pattern such as "Page {page} of {pages}": {page} is the
                 // page's place in the report (1 for the first page made),
                 // {number} its printed number, and {pages} the number of
                 // pages made, resolved when the page is drawn
};

struct Element {
    std::string name;  // the use-equate the report changes it by ("COLUMNBAR2")
    ElementKind kind = ElementKind::Text;
    // Relative to its band. A line runs from (x, y) to (x + w, y + h).
    Rect rect;
    // Text
    std::string text;  // Windows-1252
    TextSource source = TextSource::Literal;
    TextFont font;
    Align align = Align::Left;
    bool clip = true;  // cut at the rectangle's edges
    // A text too wide for its rectangle is printed a point smaller at a
    // time (down to kSmallestShrunkSize) until it fits, so it is never cut.
    bool shrinkToFit = false;
    // Box, ellipse and line: border (line) colour and width; fill.
    Color border = kBlack;
    int borderWidth = 10;
    Color fill = kNoColor;
    // Image: file drawn scaled into the rectangle.
    std::string file;
    bool hidden = false;
};

enum class BandRole { Form, Header, Footer, Detail };

struct Band {
    std::string name;
    BandRole role = BandRole::Detail;
    // Header, footer and form: where the band's top left lies on the page.
    // Detail bands: offset inside the detail area (or grid cell).
    int x = 0, y = 0;
    int height = 0;  // detail bands in the stacked flow
    std::vector<Element> elements;
};

// How detail bands are placed.
enum class Flow {
    Stacked,  // down the detail area; a new page when the next band does not
              // fit, or after a number of rows (Report::SetRowsPerPage)
    Grid      // cells across, then down, then onto a new page
};

struct Grid {
    int x = 0, y = 0;            // top left of the first cell
    int pitchX = 0, pitchY = 0;  // from one cell to the next
    int across = 1, down = 1;
};

struct ReportDefinition {
    Paper paper;
    Flow flow = Flow::Stacked;
    Rect detailArea;  // the stacked flow's area on the page
    Grid grid;        // the grid flow's cells
    std::vector<Band> bands;  // form, header, footer and details, any order
};

// One row of a layout's band table and of its element table.
struct BandRow {
    std::string_view name;
    BandRole role;
    int x = 0, y = 0, height = 0;
};
struct ElementRow {
    std::string_view band;
    Element element;
};

// Builds the bands from the tables; an element row naming no band of the
// band table, or a name used twice, is a fault of the layout and throws
// std::invalid_argument.
ReportDefinition BuildDefinition(Paper paper, std::span<const BandRow> bands, std::span<const ElementRow> elements);

}  // namespace fw::report
