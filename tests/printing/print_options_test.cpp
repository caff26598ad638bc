// The destination window, the print options, selections and copies.
#include <gtest/gtest.h>

#include <QPrinter>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <filesystem>

#include "platform/ui/common_dialogs.h"
#include "tests/printing/previewer_fixture.h"
#include "tests/support/cups_server.h"

namespace {

TEST_F(PreviewerTest, DestinationWindowAnswers) {
    int answer = -1;
    driver->Start([&] { answer = printing::ReportDestinationWindow(previewer); });
    ASSERT_TRUE(driver->IsOpen("ReportDestinationWindow"));
    EXPECT_EQ(driver->Caption("ReportDestinationWindow"), "Report Destination");
    EXPECT_EQ(driver->Text("?PRINTCOPIES"), "1");
    EXPECT_EQ(driver->Text("?CURRENTPRINTER"), printing::CurrentPrinterName());
    driver->AnswerPrinterDialog(false);  // "Select A Printer", cancelled
    driver->Press("?SELECTPRINTER");
    EXPECT_EQ(driver->UnusedAnswers(), 0u);
    driver->Press("?PREVIEWOPTION:PRINT");
    driver->Type("?PRINTCOPIES", "3");
    driver->Press("?OK");
    EXPECT_FALSE(driver->IsOpen("ReportDestinationWindow"));
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(previewer.PREVIEWOPTION, printing::preview_option::Print);
    EXPECT_EQ(previewer.PRINTCOPIES, 3);

    driver->Start([&] { answer = printing::ReportDestinationWindow(previewer); });
    EXPECT_EQ(driver->Text("?PRINTCOPIES"), "1");  // each run starts from one copy
    driver->AnswerMessage("Copies: Please enter a number from 1 to 100.", fw::Button::Ok);
    driver->Type("?PRINTCOPIES", "500");  // beyond the range: refused, and said so
    EXPECT_EQ(driver->UnusedAnswers(), 0u);
    EXPECT_EQ(previewer.PRINTCOPIES, 1);
    EXPECT_EQ(driver->Text("?PRINTCOPIES"), "500") << "kept to be put right, never clamped";
    driver->Press("?CANCEL");
    EXPECT_EQ(answer, 1);
}

TEST_F(PreviewerTest, PrintModeWithCopiesMakesOneJobPerCopy) {
    pages = Pages(4);
    previewer.PRINTCOPIES = 3;
    // Printed without a preview, the host is told what went where.
    driver->AnswerMessage("12 pages went to the printer", fw::Button::Ok);
    driver->Start([&] { result = printing::PreviewReport(previewer, pages, true, "SongBook Preview  ", "No Zoom"); });
    EXPECT_FALSE(driver->IsOpen("PreviewReport"));
    EXPECT_EQ(driver->UnusedAnswers(), 0u);
    EXPECT_EQ(Jobs(), (std::vector<std::vector<int>>{{1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}}));
    for (const auto& j : sink.jobs) EXPECT_EQ(j.title, "SongBook Preview");
    EXPECT_EQ(result, printing::preview_result::Printed);
}

TEST_F(PreviewerTest, ApplyPrintCopiesRepeatsTheWholeList) {
    fw::report::PageList four = Pages(4);
    previewer.PRINTCOPIES = 3;
    fw::report::PageList three = printing::ApplyPrintCopies(previewer, four);
    std::vector<int> seqs;
    for (const auto& e : three.Entries()) seqs.push_back(e.seq);
    EXPECT_EQ(seqs, (std::vector<int>{1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4}));
    previewer.REPORTTITLE = "Disc Labels";
    driver->AnswerMessage("12 pages went to the printer", fw::Button::Ok);
    driver->Start([&] { printing::PrintWithoutPreview(previewer, four); });
    EXPECT_EQ(driver->UnusedAnswers(), 0u);
    ASSERT_EQ(sink.jobs.size(), 1u);
    EXPECT_EQ(sink.jobs[0].title, "Disc Labels");
    EXPECT_EQ(sink.jobs[0].seqs, seqs);
}

TEST_F(PreviewerTest, AFailedJobIsToldToTheUser) {
    pages = Pages(2);
    std::filesystem::remove(pages.At(1).file);
    driver->AnswerMessage("The report could not be printed", fw::Button::Ok);
    bool ok = true;
    driver->Start([&] {
        previewer.SAVEIMAGEQUEUE = pages;
        previewer.PRINTCOPIES = 2;
        ok = printing::PrintSelectedPages(previewer);
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(sink.jobs.size(), 1u);  // no second copy after a failure
    EXPECT_EQ(driver->UnusedAnswers(), 0u);
}

// Every choice of the print options, with two copies, from a 6-page
// preview with pages 2 and 5 marked.
TEST_F(PreviewerTest, EverySelectionWithCopies) {
    struct Case {
        const char* radio;
        const char* from;
        const char* to;
        std::vector<int> pages;
    } cases[] = {
        {"?PRINTINGOPTION:ALL", nullptr, nullptr, {1, 2, 3, 4, 5, 6}},
        {"?PRINTINGOPTION:MARKED", nullptr, nullptr, {2, 5}},
        {"?PRINTINGOPTION:UNMARKED", nullptr, nullptr, {1, 3, 4, 6}},
        {"?PRINTINGOPTION:RANGE", "2", "3", {2, 3}},
        {"?PRINTINGOPTION:RANGE", "6", "6", {6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.radio) + (c.from ? std::string(" ") + c.from + "-" + c.to : ""));
        sink.jobs.clear();
        OpenPreview(6);
        for (int page : {2, 5}) {
            driver->Press("?JUMP");
            driver->Type("?PAGE", std::to_string(page));
            driver->Press("?OK", "JumpToPageWindow");
            driver->Press("?PREVIEWMARK");
        }
        driver->Press("?PRINTBUTTON");
        ASSERT_TRUE(driver->IsOpen("PrintOptionsWindow"));
        EXPECT_TRUE(driver->Enabled("?PRINTINGOPTION:MARKED"));
        EXPECT_EQ(driver->Enabled("?PAGEFROM"), false);
        driver->Press(c.radio);
        if (c.from) {
            EXPECT_TRUE(driver->Enabled("?PAGEFROM"));
            driver->Type("?PAGEFROM", c.from);
            driver->Type("?PAGETO", c.to);
        }
        driver->Type("?PRINTCOPIES", "2");
        driver->Press("?PRINT");
        EXPECT_FALSE(driver->IsOpen("PrintOptionsWindow"));
        EXPECT_FALSE(driver->IsOpen("PreviewReport"));
        EXPECT_EQ(result, printing::preview_result::Printed);
        EXPECT_EQ(Jobs(), (std::vector<std::vector<int>>{c.pages, c.pages}));
        for (const auto& j : sink.jobs) EXPECT_EQ(j.title, "SongBook Preview");
    }
}

TEST_F(PreviewerTest, AnEmptySelectionIsRefusedAndTheOptionsStayOpen) {
    OpenPreview(6);
    driver->Press("?PRINTBUTTON");
    // Nothing marked: the marked choices are off.
    EXPECT_FALSE(driver->Enabled("?PRINTINGOPTION:MARKED"));
    EXPECT_FALSE(driver->Enabled("?PRINTINGOPTION:UNMARKED"));
    driver->Press("?PRINTINGOPTION:RANGE");
    driver->Type("?PAGEFROM", "5");
    driver->Type("?PAGETO", "3");
    driver->AnswerMessage("no pages to print in this selection", fw::Button::Ok);
    driver->Press("?PRINT");
    EXPECT_TRUE(driver->IsOpen("PrintOptionsWindow"));
    EXPECT_TRUE(sink.jobs.empty());
    // The top of the range is the page count: 7 is refused, not cut to 6.
    driver->AnswerMessage("To: Please enter a number from 1 to 6.", fw::Button::Ok);
    driver->Type("?PAGETO", "7");
    EXPECT_EQ(driver->UnusedAnswers(), 0u);
    EXPECT_EQ(driver->Text("?PAGETO"), "7");
    driver->Type("?PAGETO", "6");
    EXPECT_EQ(driver->Text("?PAGETO"), "6");
    driver->Press("?CANCEL");
    EXPECT_TRUE(driver->IsOpen("PreviewReport"));

    // A marked page deleted: nothing is marked any more.
    driver->Press("?JUMP");
    driver->Type("?PAGE", "4");
    driver->Press("?OK", "JumpToPageWindow");
    driver->Press("?PREVIEWMARK");
    driver->Press("?PRINTBUTTON");
    EXPECT_TRUE(driver->Enabled("?PRINTINGOPTION:MARKED"));
    driver->Press("?CANCEL");
    driver->Press("?PREVIEWDELETE");
    driver->Press("?PRINTBUTTON");
    EXPECT_FALSE(driver->Enabled("?PRINTINGOPTION:MARKED"));
    driver->Press("?CANCEL");
    driver->Press("?EXITBUTTON");
    EXPECT_EQ(result, printing::preview_result::NotPrinted);
    EXPECT_EQ(driver->UnusedAnswers(), 0u);
}

TEST_F(PreviewerTest, AReportWithoutPagesSaysSo) {
    static const fw::report::BandRow bands[] = {{"D", fw::report::BandRole::Detail, 0, 0, 10}};
    fw::report::Report r(fw::report::BuildDefinition({}, bands, {}));
    pages = r.Finish();
    driver->AnswerMessage("The report has no pages", fw::Button::Ok);
    driver->Start([&] { result = printing::PreviewReport(previewer, pages, false, "SongBook Preview", "No Zoom"); });
    EXPECT_FALSE(driver->IsOpen("PreviewReport"));
    EXPECT_EQ(driver->Messages().size(), 1u);
    EXPECT_EQ(result, printing::preview_result::NotPrinted);
}

}  // namespace

namespace {

// The whole way: the preview's Print button, the program's printer, a
// real CUPS queue, the PDF it wrote.
TEST_F(PreviewerTest, PrintsThroughTheProgramsPrinterToCups) {
    cvtest::CupsServer& cups = cvtest::CupsServer::Shared();
    if (!cups.Running()) GTEST_SKIP() << cups.Reason();
    cups.ClearOutput();
    printing::SetPrintSinkFactory(nullptr);
    fw::CurrentPrinter().setPrinterName(QString::fromStdString(cups.Queue()));
    OpenPreview(3);
    driver->Press("?PRINTBUTTON");
    EXPECT_EQ(driver->Text("?SELECTEDPRINTER"), cups.Queue());
    driver->Press("?PRINTINGOPTION:RANGE");
    driver->Type("?PAGEFROM", "2");
    driver->Type("?PAGETO", "3");
    driver->Press("?PRINT");
    EXPECT_EQ(result, printing::preview_result::Printed);
    std::vector<std::string> jobs = cups.WaitForJobs(1);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(cvtest::PdfPages(jobs[0]), 2);
    std::string text = cvtest::PdfText(jobs[0]);
    EXPECT_EQ(text.find("Sheet 1"), std::string::npos);
    EXPECT_NE(text.find("Sheet 2"), std::string::npos);
    EXPECT_NE(text.find("Sheet 3"), std::string::npos);
    // The job carries the report's title (the backend names its file by it).
    EXPECT_NE(std::filesystem::path(jobs[0]).filename().string().find("SongBook_Preview"), std::string::npos) << jobs[0];
    if (const char* keep = std::getenv("CV_KEEP_CUPS_PDF"))
        std::filesystem::copy_file(jobs[0], keep, std::filesystem::copy_options::overwrite_existing);
}

// A queue the print service has stopped takes no job:
// the host reads why, nothing counts as printed, and the preview stays
// open to print again (or elsewhere).
TEST_F(PreviewerTest, ARefusedJobIsToldAndThePreviewStaysOpen) {
    cvtest::CupsServer& cups = cvtest::CupsServer::Shared();
    if (!cups.Running()) GTEST_SKIP() << cups.Reason();
    cups.ClearOutput();
    printing::SetPrintSinkFactory(nullptr);
    struct Case {
        const char* queue;
        const char* stop;  // run first, and its undoing after
        const char* restart;
        const char* reason;
    } cases[] = {
        {nullptr, "cupsdisable", "cupsenable", "as stopped"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        const std::string queue = c.queue ? c.queue : cups.Queue();
        if (c.stop) {
            ASSERT_EQ(std::system((std::string(c.stop) + " " + queue).c_str()), 0);
        }
        fw::CurrentPrinter().setPrinterName(QString::fromStdString(queue));
        OpenPreview(2);
        driver->Press("?PRINTBUTTON");
        driver->AnswerMessage(c.reason, fw::Button::Ok);
        driver->Press("?PRINT");
        EXPECT_EQ(driver->UnusedAnswers(), 0u);
        EXPECT_TRUE(driver->IsOpen("PreviewReport"));
        EXPECT_EQ(previewer.RETURNVALUE, printing::preview_result::NotPrinted);
        if (c.restart) {
            ASSERT_EQ(std::system((std::string(c.restart) + " " + queue).c_str()), 0);
        }
        driver->Press("?EXITBUTTON", "PreviewReport");
        EXPECT_EQ(result, printing::preview_result::NotPrinted);
    }
    // Started again, the queue prints.
    fw::CurrentPrinter().setPrinterName(QString::fromStdString(cups.Queue()));
    OpenPreview(1);
    driver->Press("?PRINTBUTTON");
    driver->Press("?PRINT");
    EXPECT_EQ(result, printing::preview_result::Printed);
    EXPECT_EQ(cups.WaitForJobs(1).size(), 1u);
}

// The printer is driven at its own resolution, so a text takes the same
// width on paper as in a PDF of the same page.
TEST_F(PreviewerTest, PaperAndPdfLayTextsOutAlike) {
    cvtest::CupsServer& cups = cvtest::CupsServer::Shared();
    if (!cups.Running()) GTEST_SKIP() << cups.Reason();
    cups.ClearOutput();
    fw::CurrentPrinter().setPrinterName(QString::fromStdString(cups.Queue()));
    EXPECT_GE(fw::CurrentPrinter().resolution(), 300);
    using namespace fw::report;
    static const BandRow bands[] = {{"ROW", BandRole::Detail, 0, 0, 300}};
    Element text;
    text.name = "ROW";
    text.rect = {500, 1000, 7500, 200};
    text.font.size = 8;
    text.text = "Bridgeoverthetroubledwaterandbacktothesea";
    const ElementRow elements[] = {{"ROW", text}};
    Report r(BuildDefinition({}, bands, elements));
    r.Print("ROW");
    const PageList page = r.Finish();
    std::string error;
    PrinterSink printer(fw::CurrentPrinter());
    ASSERT_TRUE(PrintPages(page, "Widths", printer, error)) << error;
    QTemporaryDir folder;
    const std::string pdf = folder.filePath("direct.pdf").toStdString();
    PdfSink direct(pdf);
    ASSERT_TRUE(PrintPages(page, "Widths", direct, error)) << error;
    const std::vector<std::string> jobs = cups.WaitForJobs(1);
    ASSERT_EQ(jobs.size(), 1u);
    // The word's box (xMin, xMax) in each PDF, through pdftotext -bbox.
    auto width = [](const std::string& file) {
        const std::string html = file + ".html";
        if (std::system(("pdftotext -bbox '" + file + "' '" + html + "'").c_str()) != 0) return -1.0;
        std::ifstream in(html);
        std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::size_t word = all.find("Bridgeover");
        if (word == std::string::npos) return -1.0;
        const std::size_t open = all.rfind("<word", word);
        auto attribute = [&](const char* name) {
            const std::size_t at = all.find(name, open);
            return std::stod(all.substr(at + std::strlen(name) + 2));
        };
        return attribute("xMax") - attribute("xMin");
    };
    const double onPaper = width(jobs[0]), inPdf = width(pdf);
    ASSERT_GT(onPaper, 0);
    ASSERT_GT(inPdf, 0);
    EXPECT_NEAR(onPaper / inPdf, 1.0, 0.005) << onPaper << " against " << inPdf;
}

}  // namespace
