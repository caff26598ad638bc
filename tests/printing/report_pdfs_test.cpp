// One PDF of each label, slip and management report, read back with
// pdftotext. CV_REPORT_PDF_DIR=<folder> keeps the PDFs there to look at.
#include <gtest/gtest.h>

#include "platform/ui/message.h"

#include <QImage>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/report/print_sink.h"
#include "printing/cd_label_reports.h"
#include "printing/label_settings.h"
#include "printing/management_reports.h"
#include "printing/request_slips.h"
#include "report_test_support.h"
#include "tests/support/cups_server.h"

namespace printing {
namespace {

namespace fs = std::filesystem;

class ReportPdfs : public printing_test::ReportProcedureTest {
protected:
    void TearDown() override {
        LabelSettings() = {};
        ReportProcedureTest::TearDown();
    }
    // The PDF's text, the PDF kept when asked.
    std::string Written(const fw::report::PageList& pages, const std::string& name, int expectedPages) {
        const std::string pdf = Path(name);
        fw::report::PdfSink pdfSink(pdf);
        std::string error;
        EXPECT_TRUE(fw::report::PrintPages(pages, name, pdfSink, error)) << error;
        return Check(pdf, name, expectedPages);
    }
    std::string Check(const std::string& pdf, const std::string& name, int expectedPages) {
        EXPECT_EQ(cvtest::PdfPages(pdf), expectedPages) << name;
        if (const char* keep = std::getenv("CV_REPORT_PDF_DIR"); keep && *keep)
            fs::copy_file(pdf, fs::path(keep) / name, fs::copy_options::overwrite_existing);
        return cvtest::PdfText(pdf);
    }
    // A procedure printed without a preview, into a PDF.
    std::string Procedure(void (*report)(), const std::string& name, int expectedPages) {
        const std::string pdf = Path(name);
        SetPrintSinkFactory([pdf] { return std::make_unique<fw::report::PdfSink>(pdf); });
        d().AnswerMessage("went to the printer", fw::Button::Ok);
        d().Start(report);
        ChooseDestination(true);
        RunPass();
        return Check(pdf, name, expectedPages);
    }
};

TEST_F(ReportPdfs, LabelsAndSlips) {
    LabelSettings().LABELFOOTER = "Friday Night Karaoke";
    LabelSettings().LabelTextColor = 0x800000;
    LabelSettings().LabelBackColor = 0xC0FFFF;
    CdLabelSheets labels(3);
    const char* titles[] = {"Danny Boy", "Yesterday", "Bohemian Rhapsody (Live at Wembley)", "Hey Jude",
                            "Total Eclipse of the Heart", "Greensleeves"};
    for (int n = 1; n <= 3; ++n) {
        LabelDisc disc{"Sound Choice", "SC812" + std::to_string(n), "10" + std::to_string(n), {}};
        for (int t = 1; t <= 6 * n; ++t) disc.tracks.push_back({t, titles[(t - 1) % 6]});
        labels.Print(disc);
    }
    std::string text = Written(labels.Finish(), "cd_labels.pdf", 2);
    EXPECT_NE(text.find("Sound Choice"), std::string::npos);
    EXPECT_NE(text.find("102"), std::string::npos);
    EXPECT_NE(text.find("Bohemian Rhapsody"), std::string::npos);
    EXPECT_NE(text.find("Friday Night Karaoke"), std::string::npos);

    MiniLabelSheets mini;
    for (int n = 1; n <= 100; ++n) mini.Print({"", "SC" + std::to_string(8100 + n), std::to_string(100 + n), {}});
    text = Written(mini.Finish(), "mini_labels.pdf", 2);
    EXPECT_NE(text.find("SC8181"), std::string::npos);
    EXPECT_NE(text.find("200"), std::string::npos);

    QImage logo(64, 64, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    ASSERT_TRUE(logo.save(QString::fromStdString(Path("logo.png")), "PNG"));
    RequestCardSetupValues design;
    design.UseHashMarks = 1;
    design.SongRequestLogoFilename = Path("logo.png");
    RequestSlipSheets slips(design);
    for (int i = 0; i < 9; ++i) slips.Print();
    text = Written(slips.Finish(), "request_slips.pdf", 2);
    EXPECT_NE(text.find("Karaoke Song Request"), std::string::npos);
    EXPECT_NE(text.find("Key(+/-)"), std::string::npos);
    EXPECT_NE(text.find("For Booking Info Call"), std::string::npos);
}

TEST_F(ReportPdfs, ManagementReports) {
    MakeBrands({1, 2});
    OpenBook({{"SC8125", "101", 1, "SC"}, {"CB5001", "102", 2, "CB"}},
             {{"Danny Boy", "Traditional", "SC8125", 1}, {"Yesterday", "Beatles", "SC8125", 2},
              {"Hey Jude", "Beatles", "CB5001", 12}});
    std::string text = Procedure(PrintSongTrackListing, "song_track_listing.pdf", 1);
    EXPECT_NE(text.find("Song Track Listing by Disc ID & Track"), std::string::npos);
    EXPECT_NE(text.find("Hey Jude"), std::string::npos);
    EXPECT_NE(text.find("Page: 1"), std::string::npos);
    text = Procedure(PrintDiscInventory, "disc_inventory.pdf", 1);
    EXPECT_NE(text.find("Disc Inventory Report"), std::string::npos);
    EXPECT_NE(text.find("Mfr./Brand/Series"), std::string::npos);
    EXPECT_NE(text.find("CB5001"), std::string::npos);
}

}  // namespace
}  // namespace printing
