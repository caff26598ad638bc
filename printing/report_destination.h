#pragma once
// The previewer's two small windows: where the report goes (before it
// runs) and which pages to print (from the preview).

#include <string_view>

#include "printing/report_previewer.h"

namespace printing {

// "Report Destination": View or Print, copies, printer. 1 = cancelled,
// 0 = go on (PREVIEWOPTION, PRINTCOPIES and CURRENTPRINTER set).
int ReportDestinationWindow(ReportPreviewer& previewer);

// "Print Options": all, marked, unmarked or a range of pages, copies,
// printer. A selection without pages is refused with a message and the
// window stays open. 1 = the pages were printed, 0 = cancelled.
int PrintOptionsWindow(ReportPreviewer& previewer);

}  // namespace printing
