#pragma once
// The previewer every report prints through: it asks where the report goes
// before the report runs (ReportDestinationWindow), and afterwards shows,
// selects and prints the finished pages (PreviewReport, PrintOptionsWindow).
// A report does, in this order:
//
//   printing::ReportPreviewer previewer;            // the starting values
//   if (printing::ReportDestinationWindow(previewer) == 1) return;  // cancelled
//   fw::report::PageList pages = ...;                // produce the report
//   printing::PreviewReport(previewer, pages, previewer.PREVIEWOPTION == 2,
//                           "SongBook Preview", "No Zoom");
//
// Each copy is one print job of the selected pages in page order; the
// printer's own copy count is always 1. Reports that print without a
// preview send all copies as one job (PrintWithoutPreview).

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/report/page_files.h"
#include "platform/report/print_sink.h"

namespace printing {

namespace print_option {
enum : int { All = 1, Marked = 2, Unmarked = 3, Range = 4 };
}
namespace preview_option {
enum : int { View = 1, Print = 2 };
}
namespace preview_result {
enum : int { Printed = 1, NotPrinted = 2 };
}

struct ReportPreviewer {
    fw::report::PageList IMAGEQUEUE;      // the report's pages while the previewer works on them
    fw::report::PageList SAVEIMAGEQUEUE;  // the pages chosen for printing
    std::vector<bool> MARKQUEUE;          // one entry a page, true = marked for printing
    std::string REPORTTITLE;              // preview caption and print jobs' document name
    int RETURNVALUE = preview_result::NotPrinted;
    int USERCANCELEDREPORT = 0;
    int PREVIEWOPTION = preview_option::View;
    int PRINTINGOPTION = print_option::All;
    std::string CURRENTPRINTER;
    std::string SELECTEDPRINTER;
    int PRINTCOPIES = 1;
    int SAVELANDSCAPE = 0;
    int IMAGECOUNT = 0;
    int CURRENTPAGE = 1;
    int PAGESACROSS = 1, PAGESDOWN = 1;
    int PAGEFROM = 1, PAGETO = 1;

    // Whether any page is marked (the marked choices depend on it).
    bool AnyMarked() const;
};

// Fills SAVEIMAGEQUEUE from IMAGEQUEUE by PRINTINGOPTION (all, marked,
// unmarked, PAGEFROM..PAGETO), in page order, in one pass.
void SelectPagesToPrint(ReportPreviewer& previewer);
// Prints SAVEIMAGEQUEUE PRINTCOPIES times, each copy one job titled
// REPORTTITLE. False after a failure, which has been reported to the user.
bool PrintSelectedPages(ReportPreviewer& previewer);
// The list expanded for PRINTCOPIES copies (1..n, 1..n, ...), for printing
// without a preview as one job.
fw::report::PageList ApplyPrintCopies(const ReportPreviewer& previewer, const fw::report::PageList& pages);
// Prints the pages PRINTCOPIES times over in one job titled REPORTTITLE
// (the reports that print without a preview: labels, slips, management
// reports). False after a failure, which has been reported to the user.
bool PrintWithoutPreview(ReportPreviewer& previewer, const fw::report::PageList& pages);

// After printing without a preview: a short message saying how many pages
// went to which printer.
void TellPagesPrinted(const ReportPreviewer& previewer, int pages);

// Where print jobs go: by default the program's printer (CUPS); tests put
// a recording or PDF sink here. An empty function restores the default.
using PrintSinkFactory = std::function<std::unique_ptr<fw::report::PrintSink>()>;
void SetPrintSinkFactory(PrintSinkFactory factory);
std::unique_ptr<fw::report::PrintSink> MakePrintSink();
// The device name of the program's current printer.
std::string CurrentPrinterName();

}  // namespace printing
