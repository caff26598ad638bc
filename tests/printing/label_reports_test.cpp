// The label reports: full-size labels two to a sheet with their circles
// filled exactly when a label lies on them, mini-labels 80 to a sheet, and
// the procedures driven by TAGFILE through the test driver.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/os/beep.h"
#include "platform/ui/message.h"
#include "printing/cd_label_reports.h"
#include "printing/label_settings.h"
#include "printing/tag_file.h"
#include "report_test_support.h"
#include "shell/data_dictionary_globals.h"

namespace printing {
namespace {

using printing_test::Count;
using printing_test::DumpAll;
using printing_test::ExpectGolden;
using printing_test::Lines;

class LabelSheets : public ::testing::Test {
protected:
    void SetUp() override {
        LabelSettings() = {};
        LabelSettings().LABELFOOTER = "Friday Night Karaoke";
        LabelSettings().LabelTextColor = 0x800000;
        LabelSettings().LabelBackColor = 0x80FFFF;
    }
    void TearDown() override { LabelSettings() = {}; }
    static LabelDisc Disc(int n, int tracks = 3) {
        LabelDisc d{"Brand " + std::to_string(n), "SC" + std::to_string(8100 + n), std::to_string(100 + n), {}};
        for (int t = 1; t <= tracks; ++t) d.tracks.push_back({t, "Song " + std::to_string(t)});
        return d;
    }
};

TEST_F(LabelSheets, TwoLabelsFillOneSheetAndBothCircles) {
    CdLabelSheets sheets(2);
    // The first disc has 26 tracks, some of two lines: track 25 and 26 and
    // the lines beyond 36 do not print. The second has no listings at all.
    LabelDisc full = Disc(1, 0);
    for (int t = 1; t <= 26; ++t)
        full.tracks.push_back({t, t % 3 != 0 ? "A rather long title " + std::to_string(t) : "Song " + std::to_string(t)});
    sheets.Print(full);
    sheets.Print({"", "SC9999", "Lonely", {}});
    const std::string dump = DumpAll(sheets.Finish());
    ExpectGolden("cd_labels_two.txt", dump);
    EXPECT_EQ(Lines(dump, "ellipse"), (std::vector<std::string>{
                                          "ellipse 1771,510,5000,5000 border=000000/10 fill=80FFFF",
                                          "ellipse 1771,5521,5000,5000 border=000000/10 fill=80FFFF"}));
    EXPECT_EQ(Count(dump, "page "), 1);
    EXPECT_EQ(Count(dump, "band LABELDETAIL"), 36);
    EXPECT_EQ(dump.find("\"25.\""), std::string::npos);
    EXPECT_EQ(dump.find("\"26.\""), std::string::npos);
    // 16 two-line titles, 8 of one line and a spacer make 41 lines: line
    // 36 is track 21's, and tracks 22 to 24 lie beyond it.
    EXPECT_NE(dump.find("text 5034,4170,190,135 \"Arial\" 8 700 color=800000 right clip \"21.\""), std::string::npos);
    EXPECT_EQ(dump.find("\"22.\""), std::string::npos);
    // The lonely disc still has its heading, and 18 fillers drawn in the
    // circle's colour.
    EXPECT_NE(dump.find("color=800000 left clip \"Lonely\""), std::string::npos);
    EXPECT_EQ(Count(dump, "text 2200,"), 36);  // every row has its left track text
    std::size_t fillers = 0;
    for (const std::string& l : Lines(dump, "text 2200,"))
        if (l.find("color=80FFFF right clip \".\"") != std::string::npos) ++fillers;
    EXPECT_GE(fillers, 18u);
}

TEST_F(LabelSheets, ThreeLabelsTakeTwoSheetsAndTheEmptyCircleStaysUnfilled) {
    CdLabelSheets sheets(3);
    for (int n = 1; n <= 3; ++n) sheets.Print(Disc(n));
    fw::report::PageList pages = sheets.Finish();
    ASSERT_EQ(pages.Count(), 2);
    const std::string first = fw::report::DumpPage(pages.Load(0), 2), second = fw::report::DumpPage(pages.Load(1), 2);
    EXPECT_EQ(Lines(first, "ellipse"), (std::vector<std::string>{
                                           "ellipse 1771,510,5000,5000 border=000000/10 fill=80FFFF",
                                           "ellipse 1771,5521,5000,5000 border=000000/10 fill=80FFFF"}));
    EXPECT_EQ(Lines(second, "ellipse"), (std::vector<std::string>{
                                            "ellipse 1771,510,5000,5000 border=000000/10 fill=80FFFF",
                                            "ellipse 1771,5521,5000,5000 border=000000/10 fill=none"}));
    // Upper and lower label on sheet 1, the third on the upper circle of sheet 2.
    EXPECT_NE(first.find("text 2833,1563,3300,290 \"Arial\" 18 700 color=800000 left clip \"101\""), std::string::npos);
    EXPECT_NE(first.find("text 2833,6503,3300,290 \"Arial\" 18 700 color=800000 left clip \"102\""), std::string::npos);
    EXPECT_NE(second.find("text 2833,1563,3300,290 \"Arial\" 18 700 color=800000 left clip \"103\""), std::string::npos);
}

TEST_F(LabelSheets, AHundredMiniLabelsGiveTwentyOnTheSecondSheet) {
    MiniLabelSheets sheets;
    for (int n = 1; n <= 100; ++n) sheets.Print(Disc(n));
    fw::report::PageList pages = sheets.Finish();
    ASSERT_EQ(pages.Count(), 2);
    const std::string first = fw::report::DumpPage(pages.Load(0), 2), second = fw::report::DumpPage(pages.Load(1), 2);
    EXPECT_EQ(Count(first, "band MINILABEL"), 80);
    EXPECT_EQ(Count(second, "band MINILABEL"), 20);
    // Across, then down: the 4th label ends the first row, the 81st starts sheet 2.
    EXPECT_NE(first.find("text 6064,635,1927,230 \"Arial\" 14 700 color=800000 left clip \"104\""), std::string::npos);
    EXPECT_NE(second.find("text 250,635,1927,230 \"Arial\" 14 700 color=800000 left clip \"181\""), std::string::npos);
    ExpectGolden("mini_labels_second_sheet.txt", second);
}

// The procedures, through the driver, on TAGFILE and a small book.
class LabelReports : public printing_test::ReportProcedureTest {
protected:
    void SetUp() override {
        ReportProcedureTest::SetUp();
        LabelSettings() = {};
        fw::SetBeepHandler([this](unsigned) { ++beeps; });
        MakeBrands({1, 2});
        // Two discs with one manufacturer's ID: each tag gets its own label.
        OpenBook({{"SC8125", "101", 1, "SC"}, {"SC8125", "102", 1, "SC"}, {"CB5001", "200", 7, "CB"}},
                 {{"Danny Boy", "Traditional", "SC8125", 1}, {"Yesterday", "Beatles", "SC8125", 2},
                  {"Hey Jude", "Beatles", "CB5001", 1}});
    }
    void TearDown() override {
        fw::SetBeepHandler({});
        LabelSettings() = {};
        ReportProcedureTest::TearDown();
    }
    int beeps = 0;
};

TEST_F(LabelReports, EachTagGetsItsOwnLabelFromTheTagFile) {
    std::string error;
    ASSERT_TRUE(WriteTagFile({{"SC8125", "102"}, {"SC8125", "101"}, {"CB5001", "200"}}, error)) << error;
    d().AnswerMessage("compatable CD labels loaded", fw::Button::Yes);
    d().AnswerMessage("went to the printer", fw::Button::Ok);
    d().Start(PrintCdLabels);
    ChooseDestination(true);
    EXPECT_EQ(d().Caption("P1$PROGRESSWINDOW"), "Generating CD Labels");
    RunPass();
    EXPECT_EQ(beeps, 1);
    ASSERT_EQ(sink.jobs.size(), 1u);
    EXPECT_EQ(sink.jobs[0].title, "CD Label Previewer");
    ASSERT_EQ(sink.jobs[0].pages.size(), 2u);
    const std::string& first = sink.jobs[0].pages[0];
    // In custom ID order; the brand of an unknown brand number is blank.
    EXPECT_NE(first.find("left clip \"101\""), std::string::npos);
    EXPECT_NE(first.find("left clip \"102\""), std::string::npos);
    EXPECT_NE(first.find("\"Arial\" 12 700 color=000000 left clip \"Brand 1\""), std::string::npos);
    EXPECT_NE(first.find("left clip \"Danny Boy\""), std::string::npos);
    EXPECT_NE(sink.jobs[0].pages[1].find("\"Arial\" 12 700 color=000000 left clip \"\""), std::string::npos);
    EXPECT_NE(sink.jobs[0].pages[1].find("left clip \"Hey Jude\""), std::string::npos);
}

TEST_F(LabelReports, MiniLabelsAskBeforePrintingAndNoPrintsNothing) {
    std::string error;
    ASSERT_TRUE(WriteTagFile({{"SC8125", "101"}, {"CB5001", "200"}}, error)) << error;
    d().AnswerMessage("compatable labels loaded", fw::Button::No);
    d().Start(PrintMiniLabels);
    ChooseDestination(true);
    EXPECT_EQ(d().Caption("P1$PROGRESSWINDOW"), "Generating Mini-Labels");
    RunPass();
    EXPECT_TRUE(sink.jobs.empty());
    EXPECT_EQ(d().UnusedAnswers(), 0u);

    d().AnswerMessage("compatable labels loaded", fw::Button::Yes);
    d().AnswerMessage("went to the printer", fw::Button::Ok);
    d().Start(PrintMiniLabels);
    ChooseDestination(true);
    RunPass();
    ASSERT_EQ(sink.jobs.size(), 1u);
    EXPECT_EQ(sink.jobs[0].title, "SongBook Preview");
    EXPECT_EQ(printing_test::Count(sink.jobs[0].pages[0], "band MINILABEL"), 2);
}

TEST_F(LabelReports, TagFileRewrittenWhileTheDestinationWaitsChangesNothing) {
    std::string error;
    ASSERT_TRUE(WriteTagFile({{"SC8125", "101"}}, error)) << error;
    d().AnswerMessage("compatable labels loaded", fw::Button::Yes);
    d().AnswerMessage("went to the printer", fw::Button::Ok);
    d().Start(PrintMiniLabels);
    ASSERT_TRUE(WriteTagFile({{"CB5001", "200"}}, error)) << error;  // another label setup
    ChooseDestination(true);
    RunPass();
    ASSERT_EQ(sink.jobs.size(), 1u);
    EXPECT_NE(sink.jobs[0].pages[0].find("clip \"101\""), std::string::npos);
    EXPECT_EQ(sink.jobs[0].pages[0].find("clip \"200\""), std::string::npos);
}

TEST_F(LabelReports, ViewedInThePreviewerWithNoQuestion) {
    std::string error;
    ASSERT_TRUE(WriteTagFile({{"SC8125", "101"}, {"CB5001", "200"}, {"SC8125", "102"}}, error)) << error;
    d().Start(PrintCdLabels);
    ChooseDestination(false);
    RunPass();
    ASSERT_TRUE(d().IsOpen("PreviewReport"));
    EXPECT_EQ(d().Caption("PreviewReport"), "CD Label Previewer");
    EXPECT_EQ(beeps, 0);
    d().CloseWindow("PreviewReport");
    EXPECT_TRUE(sink.jobs.empty());
}

TEST_F(LabelReports, CancelInTheDestinationPrintsNothing) {
    std::string error;
    ASSERT_TRUE(WriteTagFile({{"SC8125", "101"}}, error)) << error;
    d().Start(PrintCdLabels);
    d().Press("?CANCEL", "ReportDestinationWindow");
    EXPECT_FALSE(d().IsOpen("P1$PROGRESSWINDOW"));
    EXPECT_TRUE(sink.jobs.empty());
}

}  // namespace
}  // namespace printing
