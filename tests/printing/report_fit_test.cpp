// The other printed pages whole: full-size labels, mini-labels, request
// slips and the two management reports, filled with the widest texts their
// fields take, checked page by page as the printer draws them (every text
// inside its element, nothing outside the printable area, nothing drawn
// over anything else).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/report/page_check.h"
#include "platform/report/report_fonts.h"
#include "platform/ui/message.h"
#include "printing/cd_label_reports.h"
#include "printing/label_settings.h"
#include "printing/management_reports.h"
#include "printing/request_card_settings.h"
#include "printing/request_slips.h"
#include "report_test_support.h"

namespace printing {
namespace {

void ExpectWhole(const fw::report::PageList& pages, const std::string& what) {
    ASSERT_FALSE(pages.Empty()) << what;
    for (int i = 0; i < pages.Count(); ++i) {
        const fw::report::Page page = pages.Load(i);
        for (const std::string& fault : fw::report::CheckPage(page, pages.PageCount()))
            ADD_FAILURE() << what << ": " << fault;
    }
}

std::string Wide(std::size_t n, bool blanks) {
    std::string s;
    while (s.size() < n) s += (blanks && s.size() % 9 == 8) ? ' ' : (s.size() % 2 ? 'M' : 'W');
    return s;
}

class OtherReportsFit : public ::testing::Test {
protected:
    void SetUp() override {
        LabelSettings() = {};
        LabelSettings().LABELFOOTER = Wide(30, false);
    }
    void TearDown() override { LabelSettings() = {}; }
};

// A label's title lines are at most 18 characters: capitals of the widest
// letters print whole, and track numbers of two digits stay clear of them.
TEST_F(OtherReportsFit, LabelsPrintEveryTitleLineWhole) {
    LabelDisc disc{Wide(40, true), Wide(15, false), Wide(15, false), {}};
    for (int t = 1; t <= 24; ++t) disc.tracks.push_back({t, t % 2 ? Wide(18, false) : Wide(40, true)});
    CdLabelSheets full(3);
    for (int i = 0; i < 3; ++i) full.Print(disc);
    const fw::report::PageList pages = full.Finish();
    ExpectWhole(pages, "full-size labels");
    // Between "10." and its title, ink to ink.
    const fw::report::Page page = pages.Load(0);
    const fw::report::TextFont* trackFont = nullptr;
    for (std::size_t i = 0; i + 1 < page.ops.size(); ++i) {
        const fw::report::Op& op = page.ops[i];
        if (op.kind != fw::report::OpKind::Text || page.TextOf(op) != "10.") continue;
        trackFont = &page.fonts[op.font];
        const double trackEnd = op.rect.x + op.rect.w;  // right-aligned
        const fw::report::Op& title = page.ops[i + 1];
        EXPECT_GE(title.rect.x - trackEnd, 25) << "the track number touches its title";
    }
    EXPECT_NE(trackFont, nullptr);
    MiniLabelSheets mini;
    for (int i = 0; i < 90; ++i) mini.Print(disc);
    ExpectWhole(mini.Finish(), "mini-labels");
}

TEST_F(OtherReportsFit, RequestSlipsWithTheLongestTextsAndTheGuides) {
    for (bool logo : {false, true}) {
        RequestCardSetupValues design;
        design.SongRequestHeaderText = Wide(40, true);
        design.SongRequestFooterText = Wide(40, true);
        design.UseHashMarks = 1;
        if (logo) design.SongRequestLogoFilename = "logo.png";
        RequestSlipSheets sheets(design);
        for (int i = 0; i < 9; ++i) sheets.Print();
        ExpectWhole(sheets.Finish(), logo ? "slips with a logo" : "slips");
    }
}

class ManagementReportsFit : public printing_test::ReportProcedureTest {};

TEST_F(ManagementReportsFit, BothReportsWithTheLongestNames) {
    MakeBrands({1});
    std::vector<song_book_test::Listing> listings;
    for (int t = 1; t <= 70; ++t)
        listings.push_back({Wide(40, t % 2 == 0), Wide(40, t % 3 == 0), "WMWMWMWMWMWMWMW", static_cast<std::uint32_t>(t)});
    OpenBook({{"WMWMWMWMWMWMWMW", "MWMWMWMWMWMWMWM", 1, "WM"}}, listings);
    for (void (*report)() : {PrintSongTrackListing, PrintDiscInventory}) {
        sink.jobs.clear();
        d().AnswerMessage("went to the printer", fw::Button::Ok);
        d().Start(report);
        ChooseDestination(true);
        RunPass();
        ASSERT_EQ(sink.jobs.size(), 1u);
        for (const fw::report::Page& page : sink.jobs[0].raw)
            for (const std::string& fault : fw::report::CheckPage(page, sink.jobs[0].pageCount))
                ADD_FAILURE() << sink.jobs[0].title << ": " << fault;
    }
}

}  // namespace
}  // namespace printing
