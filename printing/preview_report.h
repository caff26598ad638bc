#pragma once
// The report preview window ("Report Preview"): the finished pages one at
// a time or in cells of up to 10 x 10, zoomed, marked, deleted, printed.

#include <string_view>

#include "printing/report_previewer.h"

namespace printing {

// Shows (or, in print mode, prints at once) the report's pages. Works on
// `pages` itself: a deleted page is gone from it. Returns
// preview_result::Printed when the Print button printed, else NotPrinted.
// A report without pages says so and shows nothing.
int PreviewReport(ReportPreviewer& previewer, fw::report::PageList& pages, bool printMode, std::string_view title,
                  std::string_view initialZoom);

// "Jump to a Report Page": the page chosen, or the current one when cancelled.
int JumpToPageWindow(ReportPreviewer& previewer, int currentPage, int pageCount);
// "Change the Report Display": edits the cells across and down (1 to 10).
void DisplayLayoutWindow(ReportPreviewer& previewer, int& across, int& down);

}  // namespace printing
