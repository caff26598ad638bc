#include "platform/report/print_sink.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <stdexcept>

#include "platform/text/codepage.h"

namespace fw::report {

namespace {

QPageSize PageSizeOf(const Page& page) {
    int shortSide = std::min(page.width, page.height), longSide = std::max(page.width, page.height);
    if (shortSide == 8500 && longSide == 11000) return QPageSize(QPageSize::Letter);
    if (shortSide == 8268 && longSide == 11693) return QPageSize(QPageSize::A4);
    return QPageSize(QSizeF(shortSide / 1000.0, longSide / 1000.0), QPageSize::Inch, QString(), QPageSize::ExactMatch);
}

}  // namespace

DeviceSink::~DeviceSink() = default;

void DeviceSink::SetPaper(QPagedPaintDevice& device, const Page& page) {
    QPageLayout layout(PageSizeOf(page), page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
    layout.setMode(QPageLayout::FullPageMode);
    device.setPageLayout(layout);
}

bool DeviceSink::Start(QPagedPaintDevice& device, const Page& first) {
    device_ = &device;
    SetPaper(device, first);
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&device)) {
        painter_.reset();
        if (error_.empty()) error_ = "the printer could not start the job";
        return false;
    }
    painter_->setRenderHint(QPainter::Antialiasing);
    firstPage_ = true;
    return true;
}

bool DeviceSink::AddPage(const Page& page, int pageCount) {
    if (!painter_) return false;
    if (!firstPage_) {
        SetPaper(*device_, page);
        if (!device_->newPage()) {
            error_ = "the printer refused a new page";
            return false;
        }
    }
    firstPage_ = false;
    renderer_.Draw(page, *painter_, device_->logicalDpiX(), pageCount);
    return true;
}

bool DeviceSink::EndJob() {
    if (!painter_) return false;
    bool ok = painter_->end();
    painter_.reset();
    if (!ok && error_.empty()) error_ = "the printer could not finish the job";
    return ok;
}

bool PrinterSink::BeginJob(const std::string& title, const Page& first) {
    // The print service would take a job for a missing or stopped queue
    // without a word and never print it: ask it first.
    if (printer_.outputFormat() == QPrinter::PdfFormat && printer_.outputFileName().isEmpty()) {
        // What Qt makes of a printer name the print service does not know.
        error_ = "the print service has no such printer";
        return false;
    }
    if (printer_.outputFormat() == QPrinter::NativeFormat) {
        const std::string name = fw::QStringToAnsi(printer_.printerName());
        const QPrinterInfo info = QPrinterInfo::printerInfo(printer_.printerName());
        if (name.empty() || info.isNull()) {
            error_ = name.empty() ? "no printer is chosen" : "the print service has no printer \"" + name + "\"";
            return false;
        }
        if (info.state() == QPrinter::Error || info.state() == QPrinter::Aborted) {
            error_ = "the print service reports the printer \"" + name + "\" as stopped; it takes no jobs";
            return false;
        }
    }
    printer_.setDocName(fw::AnsiToQString(title));
    printer_.setCopyCount(1);
    printer_.setFullPage(true);
    return Start(printer_, first);
}

PdfSink::~PdfSink() = default;

bool PdfSink::BeginJob(const std::string& title, const Page& first) {
    writer_ = std::make_unique<QPdfWriter>(QString::fromStdString(fw::AnsiToUtf8(path_)));
    writer_->setResolution(dpi_);
    writer_->setTitle(fw::AnsiToQString(title));
    writer_->setCreator(QStringLiteral("Cantorvale"));
    if (!Start(*writer_, first)) {
        error_ = "cannot write " + path_;
        return false;
    }
    return true;
}

bool PdfSink::EndJob() {
    bool ok = DeviceSink::EndJob();
    writer_.reset();
    if (!ok) error_ = "cannot write " + path_;
    return ok;
}

bool RecordingSink::BeginJob(const std::string& title, const Page&) {
    jobs.push_back({title, {}, {}, false});
    return true;
}

bool RecordingSink::AddPage(const Page& page, int) {
    if (jobs.empty() || jobs.back().ended) return false;
    jobs.back().pages.push_back(page.number);
    jobs.back().seqs.push_back(page.seq);
    return true;
}

bool RecordingSink::EndJob() {
    if (jobs.empty()) return false;
    jobs.back().ended = true;
    return true;
}

bool PrintPages(const PageList& pages, const std::string& title, PrintSink& sink, std::string& error,
                const std::function<bool(int, int)>& progress) {
    error.clear();
    if (pages.Empty()) return true;
    try {
        Page page = pages.Load(0);
        if (!sink.BeginJob(title, page)) {
            error = sink.Error();
            return false;
        }
        for (int i = 0; i < pages.Count(); ++i) {
            if (i > 0) page = pages.Load(i);
            if (!sink.AddPage(page, pages.PageCount())) {
                error = sink.Error();
                sink.EndJob();
                return false;
            }
            if (progress && !progress(i + 1, pages.Count())) break;
        }
    } catch (const std::exception& e) {
        error = e.what();
        sink.EndJob();
        return false;
    }
    if (!sink.EndJob()) {
        error = sink.Error();
        return false;
    }
    return true;
}

}  // namespace fw::report
