#pragma once
// The end of every report procedure: the finished pages shown in the
// previewer, or printed at once, as the destination window chose.
//
//   printing::ReportPreviewer previewer;
//   if (printing::ReportDestinationWindow(previewer) == 1) return;
//   fw::report::PageList pages = ...;
//   printing::DeliverReport(previewer, pages, {"Disc Inventory Report Preview", "Page Width"});

#include <functional>
#include <string>

#include "platform/report/page_files.h"
#include "printing/report_previewer.h"

namespace printing {

struct ReportDelivery {
    std::string title;  // the preview's caption and the print job's name
    std::string zoom;   // the preview's first zoom
    // Asked before printing without a preview; false prints nothing.
    std::function<bool()> confirmPrint;
};

// Previews (PREVIEWOPTION 1) or prints every copy in one job. Returns
// whether anything was printed.
bool DeliverReport(ReportPreviewer& previewer, fw::report::PageList& pages, const ReportDelivery& how);

}  // namespace printing
