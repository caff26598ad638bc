// The renderer on an image, into PDF and through a real CUPS queue.
#include <gtest/gtest.h>

#include <QPrinter>

#include <cstdlib>
#include <filesystem>

#include "platform/report/print_sink.h"
#include "platform/report/renderer.h"
#include "platform/report/report_fonts.h"
#include "tests/platform/report/report_fixture.h"
#include "tests/support/cups_server.h"

namespace {

using namespace reporttest;
namespace fs = std::filesystem;

// Two pages: a red box, a blue ellipse and texts with the page count.
PageList TwoPages() {
    static const BandRow bands[] = {
        {"DETAIL", BandRole::Detail, 0, 0, 4000},
        {"FOOTER", BandRole::Footer, 0, 10000, 0},
    };
    static const ElementRow elements[] = {
        {"DETAIL", Shape("BOX", ElementKind::Box, {1000, 1000, 2000, 1000}, 0x0000FF)},
        {"DETAIL", Shape("RING", ElementKind::Ellipse, {4000, 1000, 2000, 2000}, 0xFF0000)},
        {"DETAIL", Text("NAME", {1000, 3000, 5000, 300})},
        {"FOOTER", Text("PAGEOF", {0, 0, 8500, 300}, "Page {page} of {pages}", TextSource::PageOfCount)},
    };
    static ReportDefinition def = [] {
        ReportDefinition d = BuildDefinition({}, bands, elements);
        d.detailArea = {0, 0, 8500, 9000};
        d.bands[1].elements[0].align = Align::Centre;
        return d;
    }();
    Report r(def);
    r.SetRowsPerPage(1);
    for (const char* name : {"Danny Boy", "Greensleeves Caf\xE9"}) {
        r.Element("NAME").text = name;
        r.Print("DETAIL");
    }
    return r.Finish();
}

TEST(ReportRender, FontsOfTheLayoutsAreRegistered) {
    EXPECT_TRUE(RegisterReportFonts());
    EXPECT_EQ(InstalledFamily("Arial").toStdString(), "Liberation Sans");
    EXPECT_EQ(InstalledFamily("times new roman").toStdString(), "Liberation Serif");
    EXPECT_EQ(InstalledFamily("Courier").toStdString(), "Liberation Mono");
    EXPECT_EQ(QtFont(Font(), 40).weight(), QFont::Normal);
    TextFont black = Font();
    black.face = "Arial Black";
    EXPECT_EQ(QtFont(black, 40).weight(), QFont::Black);
    EXPECT_TRUE(QtFont(Font(10, 400 + kItalicStyle), 40).italic());
    // Measures in thousandths of an inch: a 12-point line is a little over
    // 12/72 inch; a monospaced text is as wide as its characters.
    EXPECT_GT(TextHeight(Font(12)), 166);
    EXPECT_LT(TextHeight(Font(12)), 200);
    TextFont mono = Font(10);
    mono.face = "Courier";
    EXPECT_NEAR(TextWidth(mono, "MMMM") * 2, TextWidth(mono, "iiiiiiii"), 2);
}

TEST(ReportRender, ColoursKeepTheirByteOrderAndShapesLandWhereTheySay) {
    PageList pages = TwoPages();
    QImage image = RenderPageImage(pages.Load(0), pages.PageCount(), 850);  // 1 px = 10 thousandths
    ASSERT_EQ(image.height(), 1100);
    EXPECT_EQ(image.pixelColor(200, 150), QColor(Qt::red));   // box 0x0000FF: red
    EXPECT_EQ(image.pixelColor(500, 200), QColor(Qt::blue));  // ellipse centre 0xFF0000: blue
    EXPECT_EQ(image.pixelColor(405, 105), QColor(Qt::white)); // outside the ellipse's curve
    EXPECT_EQ(image.pixelColor(50, 50), QColor(Qt::white));
    int dark = 0;
    for (int x = 100; x < 600; ++x)
        for (int y = 300; y < 330; ++y) dark += image.pixelColor(x, y).lightness() < 128;
    EXPECT_GT(dark, 50);  // the text is drawn inside its box
}

TEST(ReportRender, ImagesAndLines) {
    fs::path png = fs::temp_directory_path() / ("cv-logo-" + std::to_string(::getpid()) + ".png");
    QImage logo(4, 4, QImage::Format_RGB32);
    logo.fill(QColor(0, 128, 0));
    ASSERT_TRUE(logo.save(QString::fromStdString(png.string())));
    Page page;
    page.Add(OpKind::Image, png.string()).rect = {1000, 1000, 2000, 1000};
    Op& line = page.Add(OpKind::Line);
    line.rect = {0, 5000, 8500, 0};
    line.width = 40;
    line.color = 0x0000FF;
    page.Add(OpKind::Image, "/no/such/logo.png").rect = {0, 0, 500, 500};  // a missing file draws nothing
    QImage image = RenderPageImage(page, 1, 850);
    EXPECT_EQ(image.pixelColor(150, 150), QColor(0, 128, 0));  // scaled into its rectangle
    EXPECT_EQ(image.pixelColor(299, 199), QColor(0, 128, 0));
    EXPECT_EQ(image.pixelColor(305, 150), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(400, 500), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(400, 505), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(20, 20), QColor(Qt::white));
    fs::remove(png);
}

TEST(ReportRender, ClippedTextsStopAtTheirBoxAndAlignmentMovesThem) {
    auto dark = [](const QImage& image, int x0, int x1, int y0, int y1) {
        int n = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = y0; y < y1; ++y) n += image.pixelColor(x, y).lightness() < 128;
        return n;
    };
    auto draw = [](bool clip, Align align) {
        Page page;
        Op& op = page.Add(OpKind::Text, "WWWWWWWWWWWWWWWWWWWW");
        op.rect = {1000, 1000, 1000, 300};
        op.font = page.InternFont(Font(20));
        op.clip = clip;
        op.align = static_cast<std::uint8_t>(align);
        return RenderPageImage(page, 1, 850);  // 1 px = 10 thousandths: the box is x 100..200
    };
    QImage clipped = draw(true, Align::Left), free = draw(false, Align::Left);
    EXPECT_GT(dark(clipped, 100, 200, 100, 130), 100);
    EXPECT_EQ(dark(clipped, 202, 400, 95, 135), 0);
    EXPECT_GT(dark(free, 202, 400, 100, 130), 100);
    // Right-aligned and cut: the text ends at the box's right edge, its start cut off.
    QImage right = draw(true, Align::Right);
    EXPECT_GT(dark(right, 100, 200, 100, 130), 100);
    EXPECT_EQ(dark(right, 0, 98, 95, 135), 0);
}

TEST(ReportRender, PdfHoldsEveryPageWithItsTexts) {
    PageList pages = TwoPages();
    fs::path pdf = fs::temp_directory_path() / ("cv-render-" + std::to_string(::getpid()) + ".pdf");
    PdfSink sink(pdf.string());
    std::string error;
    std::vector<int> progress;
    ASSERT_TRUE(PrintPages(pages, "Two Pages", sink, error, [&](int done, int) {
        progress.push_back(done);
        return true;
    })) << error;
    EXPECT_EQ(progress, (std::vector<int>{1, 2}));
    EXPECT_EQ(cvtest::PdfPages(pdf.string()), 2);
    std::string text = cvtest::PdfText(pdf.string());
    std::size_t feed = text.find('\f');
    ASSERT_NE(feed, std::string::npos);
    EXPECT_NE(text.substr(0, feed).find("Danny Boy"), std::string::npos);
    EXPECT_NE(text.substr(0, feed).find("Page 1 of 2"), std::string::npos);
    EXPECT_NE(text.substr(feed).find("Greensleeves Caf\u00e9"), std::string::npos);  // Windows-1252 in, UTF-8 out
    EXPECT_NE(text.substr(feed).find("Page 2 of 2"), std::string::npos);
    if (const char* keep = std::getenv("CV_KEEP_PDF")) fs::copy_file(pdf, keep, fs::copy_options::overwrite_existing);
    fs::remove(pdf);
}

TEST(ReportRender, AMissingPageFileFailsTheJobWithItsName) {
    PageList pages = TwoPages();
    fs::remove(pages.At(1).file);
    RecordingSink sink;
    std::string error;
    EXPECT_FALSE(PrintPages(pages, "Broken", sink, error));
    EXPECT_NE(error.find(pages.At(1).file), std::string::npos);
    ASSERT_EQ(sink.jobs.size(), 1u);
    EXPECT_TRUE(sink.jobs[0].ended);
}

TEST(ReportRender, PrintsThroughARealCupsQueue) {
    cvtest::CupsServer& cups = cvtest::CupsServer::Shared();
    if (!cups.Running()) GTEST_SKIP() << cups.Reason();
    cups.ClearOutput();
    PageList pages = TwoPages();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QString::fromStdString(cups.Queue()));
    ASSERT_TRUE(printer.isValid()) << "queue " << cups.Queue() << " not seen through CUPS_SERVER";
    PrinterSink sink(printer);
    std::string error;
    ASSERT_TRUE(PrintPages(pages, "Song Book", sink, error)) << error;
    std::vector<std::string> jobs = cups.WaitForJobs(1);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(cvtest::PdfPages(jobs[0]), 2);
    std::string text = cvtest::PdfText(jobs[0]);
    EXPECT_NE(text.find("Danny Boy"), std::string::npos) << text;
    EXPECT_NE(text.find("Greensleeves"), std::string::npos);
    EXPECT_NE(text.find("Page 2 of 2"), std::string::npos);
    if (const char* keep = std::getenv("CV_KEEP_CUPS_PDF")) fs::copy_file(jobs[0], keep, fs::copy_options::overwrite_existing);
}

}  // namespace
