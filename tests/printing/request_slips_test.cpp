// Song request slips: eight to a page on the 2 by 4 grid, the cutting
// guides and the logo as page dumps, and the procedure through the driver
// (nothing to print says so; the book plays no part).
#include <gtest/gtest.h>

#include <QImage>

#include <string>

#include "platform/ui/message.h"
#include "printing/request_card_settings.h"
#include "printing/request_card_setup.h"
#include "printing/request_slips.h"
#include "report_test_support.h"

namespace printing {
namespace {

using printing_test::Count;
using printing_test::ExpectGolden;

fw::report::PageList Slips(const RequestCardSetupValues& design, int count) {
    RequestSlipSheets sheets(design);
    for (int i = 0; i < count; ++i) sheets.Print();
    return sheets.Finish();
}

TEST(RequestSlipSheets, EightToAPageAndTheNinthOnTheNext) {
    RequestCardSetupValues design;
    fw::report::PageList pages = Slips(design, 9);
    ASSERT_EQ(pages.Count(), 2);
    const std::string first = fw::report::DumpPage(pages.Load(0), 2), second = fw::report::DumpPage(pages.Load(1), 2);
    EXPECT_EQ(Count(first, "band SLIP"), 8);
    EXPECT_EQ(Count(second, "band SLIP"), 1);
    // Without guides and logo: no lines, no picture, the footer at 521.
    EXPECT_EQ(Count(first, "line"), 0);
    EXPECT_EQ(Count(first, "image"), 0);
    ExpectGolden("request_slips_plain.txt", first);
    // The last slip of the page lies at the lower right, the ninth at the top left.
    EXPECT_NE(first.find("text 4656,8458,3448,208 \"Arial\" 10 700 color=000000 left clip \"Name: "), std::string::npos);
    EXPECT_NE(second.find("text 406,583,3448,208 \"Arial\" 10 700 color=000000 left clip \"Name: "), std::string::npos);
}

TEST(RequestSlipSheets, GuidesOnEveryPageAndTheLogoOnEverySlip) {
    RequestCardSetupValues design;
    design.UseHashMarks = 1;
    design.SongRequestLogoFilename = "/tmp/venue logo.png";
    design.SongRequestHeaderText = "Karaoke at the Crown";
    design.SongRequestHeaderFont = "Times New Roman";
    design.SongRequestHeaderFontSize = 16;
    design.SongRequestHeaderFontStyle = 700 + 4096;
    design.SongRequestHeaderColor = 0x0000FF;
    fw::report::PageList pages = Slips(design, 9);
    ASSERT_EQ(pages.Count(), 2);
    const std::string first = fw::report::DumpPage(pages.Load(0), 2), second = fw::report::DumpPage(pages.Load(1), 2);
    EXPECT_EQ(Count(first, "line"), 17);
    EXPECT_EQ(Count(second, "line"), 17);
    EXPECT_EQ(Count(first, "image"), 8);
    EXPECT_EQ(Count(second, "image"), 1);
    ExpectGolden("request_slips_guides_logo_second_page.txt", second);
    // Beside the logo the footer starts further left (where printers print)
    // and ends before the logo.
    EXPECT_NE(second.find("text 260,2115,3000,208 \"Arial\" 8 400 color=000000 left clip \"For Booking Info"),
              std::string::npos);
    EXPECT_NE(second.find("image 3300,1938,560,560 \"/tmp/venue logo.png\""), std::string::npos);
}

class RequestSlips : public printing_test::ReportProcedureTest {
protected:
    void SetUp() override {
        ReportProcedureTest::SetUp();
        RequestCardSettings() = {};
    }
    void TearDown() override {
        RequestCardSettings() = {};
        ReportProcedureTest::TearDown();
    }
};

TEST_F(RequestSlips, PrintWithoutAnyBookInOneTick) {
    // No song book at all: the slips use nothing from it.
    RequestCardSettings().NUMBEROFSLIPS = 10;
    d().AnswerMessage("2 pages went to the printer", fw::Button::Ok);
    d().Start(PrintRequestSlips);
    ChooseDestination(true);
    ASSERT_TRUE(d().IsOpen("P1$PROGRESSWINDOW"));
    EXPECT_EQ(d().Caption("P1$PROGRESSWINDOW"), "Generating Report");
    d().Tick();  // the opening starts the pass
    d().Tick();  // every slip in the first timer event
    EXPECT_FALSE(d().IsOpen("P1$PROGRESSWINDOW"));
    ASSERT_EQ(sink.jobs.size(), 1u);
    EXPECT_EQ(sink.jobs[0].title, "Song Request Slip Previewer");
    ASSERT_EQ(sink.jobs[0].pages.size(), 2u);
    EXPECT_EQ(Count(sink.jobs[0].pages[1], "band SLIP"), 2);
}

TEST_F(RequestSlips, NoSlipsToPrintSaysSo) {
    RequestCardSettings().NUMBEROFSLIPS = 0;
    d().AnswerMessage("no request slips to print", fw::Button::Ok);
    d().Start(PrintRequestSlips);
    ChooseDestination(false);
    EXPECT_FALSE(d().IsOpen("P1$PROGRESSWINDOW"));
    EXPECT_FALSE(d().IsOpen("PreviewReport"));
    EXPECT_EQ(d().UnusedAnswers(), 0u);
    EXPECT_TRUE(sink.jobs.empty());
}

TEST_F(RequestSlips, TheViewShowsThePreview) {
    RequestCardSettings().NUMBEROFSLIPS = 3;
    d().Start(PrintRequestSlips);
    ChooseDestination(false);
    RunPass();
    ASSERT_TRUE(d().IsOpen("PreviewReport"));
    EXPECT_EQ(d().Caption("PreviewReport"), "Song Request Slip Previewer");
    d().CloseWindow("PreviewReport");
    EXPECT_TRUE(sink.jobs.empty());
}

TEST_F(RequestSlips, TheSetupsPrintStartsThemBesideIt) {
    d().Start(RequestCardSetup);
    d().Type("?NUMBEROFSLIPS", "4");
    d().AnswerMessage("1 page went to the printer", fw::Button::Ok);
    d().Press("?OKBUTTON");
    ChooseDestination(true);
    RunPass();
    ASSERT_EQ(sink.jobs.size(), 1u);
    EXPECT_EQ(Count(sink.jobs[0].pages[0], "band SLIP"), 4);
    EXPECT_TRUE(d().IsOpen("P1$REQUESTCARDSETUP"));
    d().Press("?CANCELBUTTON");
}

}  // namespace
}  // namespace printing
