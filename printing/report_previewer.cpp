#include "printing/report_previewer.h"

#include <QPrinter>
#include <QTimer>

#include "platform/runtime/scheduler.h"
#include "platform/text/codepage.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"

namespace printing {

namespace {

PrintSinkFactory& Factory() {
    static PrintSinkFactory factory;
    return factory;
}

// Pages sent between two looks at the event loop while a job runs.
constexpr int kPagesPerSlice = 20;
// The status zone that shows page texts in the preview window.
constexpr std::size_t kPageTextZone = 5;

// Lets the program's windows breathe while a long job runs: the status
// bar of the calling window shows how far it is, and every slice of pages
// the thread hands over to the event loop once.
bool PrintProgress(int copy, int copies, int done, int total) {
    if (done % kPagesPerSlice != 0 && done != total) return true;
    if (fw::Window* w = fw::TopWindow(fw::THREAD()); w && w->IsOpen() && fw::runtime::InProgramThread()) {
        std::string text = "Printing page " + std::to_string(done) + " of " + std::to_string(total);
        if (copies > 1) text += ", copy " + std::to_string(copy) + " of " + std::to_string(copies);
        if (w->Layout().statusZones.size() >= kPageTextZone) w->Set(fw::Prop::StatusText, text, 0, kPageTextZone);
    }
    if (fw::runtime::InProgramThread()) {
        // Back to the event loop once; a zero timer wakes this thread again.
        int thread = fw::THREAD();
        QTimer::singleShot(0, [thread] { fw::runtime::Wake(thread); });
        fw::runtime::Wait();
    }
    return true;
}

}  // namespace

bool ReportPreviewer::AnyMarked() const {
    for (bool m : MARKQUEUE)
        if (m) return true;
    return false;
}

void SelectPagesToPrint(ReportPreviewer& p) {
    std::vector<int> chosen;
    for (int i = 0; i < p.IMAGEQUEUE.Count(); ++i) {
        bool marked = i < static_cast<int>(p.MARKQUEUE.size()) && p.MARKQUEUE[i];
        bool keep = true;
        switch (p.PRINTINGOPTION) {
        case print_option::All: break;
        case print_option::Marked: keep = marked; break;
        case print_option::Unmarked: keep = !marked; break;
        default: keep = i + 1 >= p.PAGEFROM && i + 1 <= p.PAGETO; break;
        }
        if (keep) chosen.push_back(i);
    }
    p.SAVEIMAGEQUEUE = p.IMAGEQUEUE.Select(chosen);
}

namespace {

// One print job of the pages, with the progress of the copy it makes; a
// failure is told to the user.
bool PrintJob(const ReportPreviewer& p, const fw::report::PageList& pages, int copy, int copies) {
    std::unique_ptr<fw::report::PrintSink> sink = MakePrintSink();
    std::string error;
    bool ok = fw::report::PrintPages(pages, p.REPORTTITLE, *sink, error, [&](int done, int total) {
        return PrintProgress(copy, copies, done, total);
    });
    if (!ok) {
        fw::SETCURSOR();
        fw::MESSAGE("The report could not be printed: " + error, "Print", fw::Icon::Exclamation);
    }
    return ok;
}

}  // namespace

bool PrintSelectedPages(ReportPreviewer& p) {
    fw::SETCURSOR("~wait");
    bool ok = true;
    for (int copy = 1; copy <= p.PRINTCOPIES && ok; ++copy) ok = PrintJob(p, p.SAVEIMAGEQUEUE, copy, p.PRINTCOPIES);
    fw::SETCURSOR();
    return ok;
}

bool PrintWithoutPreview(ReportPreviewer& p, const fw::report::PageList& pages) {
    fw::SETCURSOR("~wait");
    const fw::report::PageList copies = ApplyPrintCopies(p, pages);
    bool ok = PrintJob(p, copies, 1, 1);
    fw::SETCURSOR();
    if (ok) TellPagesPrinted(p, copies.Count());
    return ok;
}

void TellPagesPrinted(const ReportPreviewer& p, int pages) {
    const std::string printer = CurrentPrinterName();
    std::string text = std::to_string(pages) + (pages == 1 ? " page" : " pages") + " went to the printer";
    text += printer.empty() ? std::string(".") : " " + printer + ".";
    fw::MESSAGE(text, p.REPORTTITLE.empty() ? std::string("Print") : p.REPORTTITLE, fw::Icon::Asterisk);
}

fw::report::PageList ApplyPrintCopies(const ReportPreviewer& p, const fw::report::PageList& pages) {
    std::vector<int> order;
    for (int copy = 0; copy < std::max(1, p.PRINTCOPIES); ++copy)
        for (int i = 0; i < pages.Count(); ++i) order.push_back(i);
    return pages.Select(order);
}

void SetPrintSinkFactory(PrintSinkFactory factory) { Factory() = std::move(factory); }

std::unique_ptr<fw::report::PrintSink> MakePrintSink() {
    if (Factory()) return Factory()();
    return std::make_unique<fw::report::PrinterSink>(fw::CurrentPrinter());
}

std::string CurrentPrinterName() { return fw::QStringToAnsi(fw::CurrentPrinter().printerName()); }

}  // namespace printing
