#include "printing/report_delivery.h"

#include "printing/preview_report.h"

namespace printing {

bool DeliverReport(ReportPreviewer& previewer, fw::report::PageList& pages, const ReportDelivery& how) {
    if (previewer.PREVIEWOPTION == preview_option::View)
        return PreviewReport(previewer, pages, false, how.title, how.zoom) == preview_result::Printed;
    previewer.REPORTTITLE = how.title;
    if (pages.Empty()) return false;
    if (how.confirmPrint && !how.confirmPrint()) return false;
    return PrintWithoutPreview(previewer, pages);
}

}  // namespace printing
