#pragma once
// A private CUPS server for tests that print: its own cupsd with its own
// configuration folder under a temporary folder, one cups-pdf queue, and
// CUPS_SERVER pointing at its socket, so the test process's printing goes
// there and never to the user's printers. Printed jobs land as PDF files
// in OutputFolder().
//
//   cvtest::CupsServer& cups = cvtest::CupsServer::Shared();
//   if (!cups.Running()) GTEST_SKIP() << cups.Reason();
//   QPrinter printer; printer.setPrinterName(cups.Queue()); ...
//   std::string pdf = cups.WaitForJobs(1).at(0);
//   std::string text = cvtest::PdfText(pdf);
//
// It points libcups of the test process at itself (CUPS_SERVER and
// cupsSetServer), also after the process has talked to CUPS. It skips only when cupsd or the cups-pdf backend is
// missing, or cupsd cannot run here (not root: the backend runs as root).

#include <string>
#include <vector>

namespace cvtest {

class CupsServer {
public:
    // One server for the whole test program, started on first use and
    // stopped at exit.
    static CupsServer& Shared();

    bool Running() const { return running_; }
    const std::string& Reason() const { return reason_; }
    const std::string& Queue() const { return queue_; }
    const std::string& OutputFolder() const { return out_; }

    // Waits (up to the timeout) until `count` PDF files are in the output
    // folder and no job is pending; returns them, oldest first.
    std::vector<std::string> WaitForJobs(std::size_t count, int timeoutMs = 60000) const;
    // Removes the PDF files printed so far.
    void ClearOutput() const;

    ~CupsServer();

private:
    CupsServer();
    void Start();
    bool Run(const std::string& command, std::string* output = nullptr) const;

    bool running_ = false;
    std::string reason_;
    std::string root_, out_, socket_, queue_, backendConf_;
    int pid_ = 0;
};

// The text of a PDF file through pdftotext -layout, pages separated by a
// form feed; empty when it cannot be read.
std::string PdfText(const std::string& pdf);
// The number of pages of a PDF (pdfinfo), 0 when it cannot be read.
int PdfPages(const std::string& pdf);

}  // namespace cvtest
