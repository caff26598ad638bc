#pragma once
// Where print jobs go. A job is a title and a run of pages; each page
// brings its own paper and orientation. PrintPages sends a page list as
// one job, reading each page file only when it is drawn.
//
//   PrinterSink  a QPrinter (the system's printers through CUPS), full-page
//   PdfSink      a PDF file through QPdfWriter
//   RecordingSink  keeps jobs, titles and page order, for tests

#include <QPagedPaintDevice>
#include <QPdfWriter>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/report/page_files.h"
#include "platform/report/renderer.h"

class QPrinter;

class QPainter;

namespace fw::report {

class PrintSink {
public:
    virtual ~PrintSink() = default;
    // False (with Error()) when the job cannot start.
    virtual bool BeginJob(const std::string& title, const Page& first) = 0;
    virtual bool AddPage(const Page& page, int pageCount) = 0;
    virtual bool EndJob() = 0;
    virtual std::string Error() const { return error_; }

protected:
    std::string error_;
};

// Draws on a paged device (printer or PDF writer) through the renderer.
class DeviceSink : public PrintSink {
public:
    bool AddPage(const Page& page, int pageCount) override;
    bool EndJob() override;
    ~DeviceSink() override;

protected:
    bool Start(QPagedPaintDevice& device, const Page& first);
    void SetPaper(QPagedPaintDevice& device, const Page& page);

    QPagedPaintDevice* device_ = nullptr;
    std::unique_ptr<QPainter> painter_;
    Renderer renderer_;
    bool firstPage_ = true;
};

class PrinterSink : public DeviceSink {
public:
    explicit PrinterSink(QPrinter& printer) : printer_(printer) {}
    bool BeginJob(const std::string& title, const Page& first) override;

private:
    QPrinter& printer_;
};

class PdfSink : public DeviceSink {
public:
    explicit PdfSink(std::string path, int dotsPerInch = 600) : path_(std::move(path)), dpi_(dotsPerInch) {}
    ~PdfSink() override;
    bool BeginJob(const std::string& title, const Page& first) override;
    bool EndJob() override;

private:
    std::string path_;
    int dpi_;
    std::unique_ptr<QPdfWriter> writer_;
};

class RecordingSink : public PrintSink {
public:
    struct Job {
        std::string title;
        std::vector<int> pages;  // each page's printed number, in order
        std::vector<int> seqs;   // each page's place in the report
        bool ended = false;
    };
    bool BeginJob(const std::string& title, const Page& first) override;
    bool AddPage(const Page& page, int pageCount) override;
    bool EndJob() override;
    std::vector<Job> jobs;
};

// Sends the pages as one job. `progress(done, total)` runs after each page
// (it may yield to the event loop) and returns false to stop the job.
// An empty list starts no job. False (with the sink's or the page file's
// error in `error`) when the job failed.
bool PrintPages(const PageList& pages, const std::string& title, PrintSink& sink, std::string& error,
                const std::function<bool(int done, int total)>& progress = {});

}  // namespace fw::report
