// Printing the song book through the test driver: the dispatcher's checks,
// the reading front end's filters, the run from the designer's Print
// SongBook to the preview, Cancel, and the printed PDF of each style
// family read back with pdftotext (CV_SONGBOOK_PDF_DIR keeps the PDFs and
// their first pages as PNG there).
#include <gtest/gtest.h>

#include <unistd.h>

#include <QDir>
#include <QPrinter>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/report/print_sink.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"
#include "printing/print_settings.h"
#include "printing/print_song_book.h"
#include "printing/printing_procedures.h"
#include "printing/report_previewer.h"
#include "printing/song_book_designer.h"
#include "shell/data_dictionary_globals.h"
#include "shell/program_procedures.h"
#include "shell/window_runtime.h"
#include "song_book_fixture.h"
#include "tests/support/cups_server.h"

namespace printing {
namespace {

using song_book_test::Disc;
using song_book_test::Listing;

class PrintSongBookTest : public song_book_test::SongBookFolder {
protected:
    void SetUp() override {
        SongBookFolder::SetUp();
        shell::ConnectWindowRuntime();
        PrintSettings() = PrintSetup{};
        RegisterPrintingProcedures();
        SetPrintSinkFactory([this] { return std::make_unique<fw::report::PdfSink>(PdfPath()); });
    }
    void TearDown() override {
        d.reset();
        SetPrintSinkFactory(nullptr);
        PrintSettings() = PrintSetup{};
        shell::DisconnectWindowRuntime();
        SongBookFolder::TearDown();
    }
    // The book "Party" as the open song book.
    void MakeOpenBook(const std::vector<Disc>& discs, const std::vector<Listing>& listings) {
        MakeBook("Party", discs, listings);
        shell::SongBookName = Path("Party.2bk");
        shell::SBDiscsName = Path("Party.2bd");
    }
    std::string PdfPath() const { return Path("book" + std::to_string(printed_) + ".pdf"); }

    // Runs Print SongBook with the settings as they stand, sending the
    // book to the printer (a PDF); the PDF's text, "" when nothing printed.
    std::string PrintToPdf(bool prints = true) {
        ++printed_;
        if (prints) d->AnswerMessage("went to the printer", fw::Button::Ok);
        d->Start(PrintSongBook);
        if (!d->IsOpen("ReportDestinationWindow")) return {};
        d->Press("?PREVIEWOPTION:PRINT");
        d->Press("?OK");
        EXPECT_TRUE(d->TickUntil([this] { return !d->IsOpen("P1$PROGRESSWINDOW"); }));
        if (!std::filesystem::exists(PdfPath())) return {};
        return cvtest::PdfText(PdfPath());
    }

    std::unique_ptr<fw::testing::Driver> d = std::make_unique<fw::testing::Driver>(fw::testing::GTestFailures());
    int printed_ = 0;
};

const std::vector<Disc> kDiscs = {{"SC8125", "SC8125"}, {"CB90012", "CB12"}};

TEST_F(PrintSongBookTest, TheDispatcherRefusesSettingsItCannotPrintAndSetsPlainRowsForTheBandedStyles) {
    MakeOpenBook(kDiscs, {{"Danny Boy", "Traditional", "SC8125", 1}});
    struct Case {
        long sort, format, fonts;
        bool prints;
        int plainRows;  // after the run; -1: left as it was (7)
    } cases[] = {{0, 1, 2, false, -1}, {1, 0, 2, false, -1}, {2, 7, 2, false, -1}, {1, 3, 0, false, -1},
                 {2, 1, 2, true, 1},   {2, 2, 2, true, 0},   {1, 3, 2, true, -1},  {1, 6, 2, true, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sort) + "/" + std::to_string(c.format) + "/" + std::to_string(c.fonts));
        PrintSettings().PrintSort = c.sort;
        PrintSettings().PrintFormat = c.format;
        PrintSettings().SetFonts = c.fonts;
        PlainRows() = 7;
        const std::size_t shown = d->Messages().size();
        if (!c.prints) d->AnswerMessage("cannot be printed with these settings", fw::Button::Ok);
        d->Start(PrintSongBook);
        EXPECT_EQ(d->IsOpen("ReportDestinationWindow"), c.prints);
        EXPECT_EQ(d->Messages().size(), shown + (c.prints ? 0 : 1));
        if (c.prints) d->Press("?CANCEL", "ReportDestinationWindow");
        EXPECT_EQ(PlainRows(), c.plainRows < 0 ? 7 : c.plainRows);
    }
}

TEST_F(PrintSongBookTest, TheFiltersChooseTheListingsAndAPrintOfNothingSaysSoWithoutAPreview) {
    MakeOpenBook(kDiscs,
             {{"Islands In The Stream", "Kenny Rogers", "SC8125", 1, "", "SC", 100, "", "X"},
              {"Jolene", "Dolly Parton", "SC8125", 2, "", "SC", 200},
              {"Secret Song", "Nobody", "CB90012", 3, "X", "CB", 150},
              {"Under Pressure", "Queen", "CB90012", 4, "", "CB", 300, "", "X"}});
    PrintSetup& s = PrintSettings();
    s.PrintSort = 1;
    s.PrintFormat = 3;
    s.SetFonts = 2;
    struct Case {
        const char* name;
        long filterReport, start, end, duets, ignoreOmits;
        std::vector<std::string> printed, left;
    } cases[] = {
        {"everything not omitted", 0, 0, 0, 0, 0, {"Islands", "Jolene", "Under Pressure"}, {"Secret Song"}},
        {"omitted ones too", 0, 0, 0, 0, 1, {"Islands", "Jolene", "Secret Song", "Under Pressure"}, {}},
        {"duets", 0, 0, 0, 1, 0, {"Islands", "Under Pressure"}, {"Jolene"}},
        {"dates", 1, 150, 250, 0, 1, {"Jolene", "Secret Song"}, {"Islands", "Under Pressure"}},
        {"dates and duets", 1, 250, 400, 1, 0, {"Under Pressure"}, {"Islands", "Jolene"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.FilterReport = c.filterReport;
        s.StartDate = c.start;
        s.EndDate = c.end;
        s.FilterDuets = c.duets;
        s.ignoreomits = c.ignoreOmits;
        const std::string text = PrintToPdf();
        for (const std::string& title : c.printed) EXPECT_NE(text.find(title), std::string::npos) << title;
        for (const std::string& title : c.left) EXPECT_EQ(text.find(title), std::string::npos) << title;
    }

    // Nothing passes: one message, no preview, nothing printed.
    s.FilterReport = 1;
    s.StartDate = 500;
    s.EndDate = 600;
    d->AnswerMessage("nothing to print", fw::Button::Ok);
    EXPECT_EQ(PrintToPdf(false), "");
    EXPECT_EQ(d->UnusedAnswers(), 0u);
    EXPECT_FALSE(d->IsOpen("PreviewReport"));
    EXPECT_FALSE(std::filesystem::exists(PdfPath()));
}

// A book of a few hundred listings: 40 artists of 3 to 11 titles, and
// one with 70, so its group runs over columns and pages.
std::vector<Listing> LargeBook() {
    std::vector<Listing> out;
    const char* words[] = {"Love", "Night", "Heart", "Dancing", "Summer", "Rain", "Fire", "Dream", "Road", "Moon"};
    for (int a = 0; a < 41; ++a) {
        const std::string artist = a == 40 ? "The Tremendous Everlasting Band" : "Artist " + std::to_string(100 + a);
        const int titles = a == 40 ? 70 : 3 + a % 9;
        for (int t = 0; t < titles; ++t) {
            std::string title = std::string(words[(a + t) % 10]) + " Song " + std::to_string(t + 1);
            if (t % 7 == 3) title += " From The Very Long Album";
            out.push_back({title, artist, t % 2 ? "SC8125" : "CB90012", static_cast<std::uint32_t>(a * 100 + t + 1), "",
                           t % 2 ? "SC" : "CB"});
        }
    }
    return out;
}

// pdftotext pages (form feeds between them).
std::vector<std::string> Pages(const std::string& text) {
    std::vector<std::string> pages;
    std::stringstream in(text);
    std::string page;
    while (std::getline(in, page, '\f'))
        if (!page.empty()) pages.push_back(page);
    return pages;
}

// Whether a page's first row under the column headings holds "(cont.)".
// pdftotext may give the rule drawn beside it a line of its own, and put
// part of the row on the next line: rules are dropped and two lines read.
bool StartsWithContinuation(const std::string& page) {
    std::stringstream in(page);
    std::string line, first;
    bool headings = false;
    int rows = 0;
    while (std::getline(in, line) && rows < 2) {
        std::erase(line, '_');
        if (line.find_first_not_of(' ') == std::string::npos) continue;
        if (headings) {
            first += line;
            ++rows;
        }
        headings = headings || line.find("Song #") != std::string::npos;
    }
    return first.find("(cont.)") != std::string::npos;
}

TEST_F(PrintSongBookTest, EachStyleFamilyPrintsItsPagesWithNumbersAndContinuedHeadings) {
    MakeOpenBook(kDiscs, LargeBook());
    const char* keep = std::getenv("CV_SONGBOOK_PDF_DIR");
    struct Case {
        const char* family;
        long sort, format, fonts;
        bool continued;  // grouped: a "(cont.)" heading at the top of a page
    } cases[] = {{"banded", 2, 2, 2, false},   {"formatted", 2, 3, 2, false}, {"grouped", 2, 4, 2, true},
                 {"two-column", 1, 5, 2, false}, {"two-column-grouped", 2, 6, 2, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        PrintSetup& s = PrintSettings();
        s.PrintSort = c.sort;
        s.PrintFormat = c.format;
        s.SetFonts = c.fonts;
        s.ShowMake = 1;
        s.ReportHeader = "Friday Night Karaoke";
        ReportFooterText() = "Ask the host for a slip";
        const std::string text = PrintToPdf();
        const std::vector<std::string> pages = Pages(text);
        EXPECT_GE(pages.size(), 3u);
        EXPECT_EQ(static_cast<int>(pages.size()), cvtest::PdfPages(PdfPath()));
        EXPECT_NE(pages.at(2).find("Page: 3"), std::string::npos);
        EXPECT_NE(pages.at(0).find("Friday Night Karaoke"), std::string::npos);
        EXPECT_NE(pages.at(0).find("Ask the host for a slip"), std::string::npos);
        EXPECT_NE(pages.at(0).find("Song #"), std::string::npos);
        if (c.continued) {
            int continuedPages = 0;
            for (const std::string& page : pages) continuedPages += StartsWithContinuation(page);
            EXPECT_GE(continuedPages, 1) << text.substr(0, 3000);
        }
        if (keep) {
            const std::string base = std::string(keep) + "/" + c.family;
            std::filesystem::create_directories(keep);
            std::filesystem::copy_file(PdfPath(), base + ".pdf", std::filesystem::copy_options::overwrite_existing);
            const std::string command = "pdftoppm -png -r 70 -f 1 -l 2 '" + PdfPath() + "' '" + base + "'";
            EXPECT_EQ(std::system(command.c_str()), 0);
        }
    }
}

// The printer the user has: the book goes to the private CUPS queue as one
// job titled "SongBook Preview".
TEST_F(PrintSongBookTest, TheIndentedBookPrintsThroughCups) {
    cvtest::CupsServer& cups = cvtest::CupsServer::Shared();
    if (!cups.Running()) GTEST_SKIP() << cups.Reason();
    cups.ClearOutput();
    SetPrintSinkFactory(nullptr);
    fw::CurrentPrinter().setPrinterName(QString::fromStdString(cups.Queue()));
    MakeOpenBook(kDiscs, LargeBook());
    PrintSettings().PrintSort = 2;
    PrintSettings().PrintFormat = 4;
    PrintSettings().SetFonts = 1;
    // Printed without viewing, the host is told how many pages went where.
    d->AnswerMessage("pages went to the printer " + cups.Queue() + ".", fw::Button::Ok);
    d->Start(PrintSongBook);
    d->Press("?PREVIEWOPTION:PRINT");
    d->Press("?OK");
    EXPECT_TRUE(d->TickUntil([this] { return !d->IsOpen("P1$PROGRESSWINDOW"); }));
    EXPECT_EQ(d->UnusedAnswers(), 0u);
    const std::vector<std::string> jobs = cups.WaitForJobs(1);
    ASSERT_EQ(jobs.size(), 1u);
    const std::vector<std::string> pages = Pages(cvtest::PdfText(jobs[0]));
    ASSERT_FALSE(d->Messages().empty());
    EXPECT_NE(d->Messages().back().find(": " + std::to_string(pages.size()) + " pages went"), std::string::npos)
        << d->Messages().back();
    ASSERT_GE(pages.size(), 3u);
    EXPECT_NE(pages[2].find("Page: 3"), std::string::npos);
    EXPECT_NE(pages[0].find("Artist 100"), std::string::npos);
}

TEST_F(PrintSongBookTest, PrintSongBookInTheDesignerReachesThePreviewAndCancelDiscardsThePages) {
    MakeOpenBook(kDiscs, LargeBook());
    d->Start(SongBookDesigner);
    ASSERT_TRUE(d->IsOpen("P1$DESIGNER"));
    ASSERT_TRUE(d->Enabled("?PRINTSONGBOOK"));
    d->Press("?PRINTSONGBOOK");
    ASSERT_TRUE(d->IsOpen("ReportDestinationWindow"));
    d->Press("?OK", "ReportDestinationWindow");
    ASSERT_TRUE(d->IsOpen("P1$PROGRESSWINDOW"));
    EXPECT_EQ(d->Text("?PROGRESS:USERSTRING"), "Generating SongBook");
    d->Tick(5);
    const int percent = std::atoi(d->Text("?PROGRESS:PCTTEXT").c_str());
    EXPECT_GT(percent, 0);
    EXPECT_LT(percent, 100);
    if (const char* keep = std::getenv("CV_SONGBOOK_PDF_DIR")) {
        std::filesystem::create_directories(keep);
        EXPECT_TRUE(d->Screenshot("P1$PROGRESSWINDOW", std::string(keep) + "/progress.png"));
    }
    EXPECT_TRUE(d->TickUntil([this] { return d->IsOpen("PreviewReport"); }));
    if (const char* keep = std::getenv("CV_SONGBOOK_PDF_DIR")) {
        EXPECT_TRUE(d->Screenshot("PreviewReport", std::string(keep) + "/preview.png"));
    }
    EXPECT_EQ(d->Caption("PreviewReport"), "SongBook Preview");
    EXPECT_EQ(d->Text("?ZOOMSTATUS"), "No Zoom");
    EXPECT_TRUE(d->IsOpen("P1$DESIGNER"));  // the designer stays open beside it
    d->Press("?EXITBUTTON", "PreviewReport");
    EXPECT_FALSE(d->IsOpen("PreviewReport"));

    // Cancel while the rows print: no preview, no page files left. Only
    // this process's folders count: other test programs print meanwhile.
    auto folders = [] {
        const std::string mine = "cv-report-" + std::to_string(::getpid()) + "-";
        int n = 0;
        for (const auto& e : std::filesystem::directory_iterator(QDir::tempPath().toStdString()))
            n += e.path().filename().string().starts_with(mine);
        return n;
    };
    const int before = folders();
    d->Press("?PRINTSONGBOOK", "P1$DESIGNER");
    d->Press("?OK", "ReportDestinationWindow");
    d->Tick(2);
    ASSERT_TRUE(d->IsOpen("P1$PROGRESSWINDOW"));
    EXPECT_NE(d->Text("?PROGRESS:PCTTEXT"), "100% Completed");
    d->Press("?PROGRESS:CANCEL", "P1$PROGRESSWINDOW");
    d->Settle();
    EXPECT_FALSE(d->IsOpen("P1$PROGRESSWINDOW"));
    EXPECT_FALSE(d->IsOpen("PreviewReport"));
    EXPECT_EQ(folders(), before);
    d->Press("?CLOSEBUTTON", "P1$DESIGNER");
}

}  // namespace
}  // namespace printing
