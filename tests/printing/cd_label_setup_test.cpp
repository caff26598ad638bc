// Custom CD Label Maker - Setup through the test driver: its own tag list
// (empty on opening, whatever TAGFILE holds), the tag buttons, the label
// type, footer and colours, Print Labels writing TAGFILE and printing, and
// a TAGFILE that cannot be written.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <QUrl>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/os/beep.h"
#include "platform/os/desktop_opener.h"
#include "platform/ui/message.h"
#include "printing/cd_label_setup.h"
#include "printing/label_settings.h"
#include "printing/tag_file.h"
#include "report_test_support.h"
#include "shell/program_startup.h"
#include "shell/data_dictionary_globals.h"

namespace printing {

void PrintTo(const LabelTag& t, std::ostream* os) { *os << "{" << t.unq << ", " << t.alt << "}"; }

namespace {

using ::testing::ElementsAre;

constexpr const char* kSetup = "P1$CDLABELSETUP";

class CdLabelSetupTest : public printing_test::ReportProcedureTest {
protected:
    void SetUp() override {
        ReportProcedureTest::SetUp();
        LabelSettings() = {};
        fw::SetBeepHandler([](unsigned) {});
        MakeBrands({1});
        // Two discs share a manufacturer's ID.
        OpenBook({{"SC8125", "101", 1, "SC"}, {"SC8125", "102", 1, "SC"}, {"CB5001", "200", 1, "CB"}},
                 {{"Danny Boy", "Traditional", "SC8125", 1}, {"Hey Jude", "Beatles", "CB5001", 1}});
    }
    void TearDown() override {
        if (d().IsOpen(kSetup)) d().Press("?CANCEL", kSetup);
        fw::SetBeepHandler({});
        LabelSettings() = {};
        ReportProcedureTest::TearDown();
    }
    std::vector<LabelTag> TagFileNow() {
        std::vector<LabelTag> tags;
        std::string error;
        EXPECT_TRUE(ReadTagFile(tags, error)) << error;
        return tags;
    }
    void Open() {
        d().Start(CdLabelSetup);
        ASSERT_TRUE(d().IsOpen(kSetup));
    }
};

TEST_F(CdLabelSetupTest, ItsOwnTagListStartsEmptyAndEachPairIsTaggedOnItsOwn) {
    std::string error;
    ASSERT_TRUE(WriteTagFile({{"CB5001", "200"}}, error)) << error;  // left by an earlier run
    Open();
    EXPECT_EQ(d().Caption(kSetup), "Custom CD Label Maker - Setup");
    EXPECT_THAT(d().Rows("?LIST"), ElementsAre("|SC8125|101", "|SC8125|102", "|CB5001|200"));
    EXPECT_EQ(d().Text("?DASSHOWTAG"), "Show All");
    if (const char* shots = std::getenv("CV_SCREENSHOT_DIR"); shots && *shots)
        d().Screenshot(kSetup, std::string(shots) + "/P1$CDLABELSETUP.png");

    d().Choose("?LIST", 2);
    d().Press("?DASTAG");
    EXPECT_THAT(d().Rows("?LIST"), ElementsAre("|SC8125|101", "\xBB|SC8125|102", "|CB5001|200"));
    d().Press("?DASREVTAG");
    EXPECT_THAT(d().Rows("?LIST"), ElementsAre("\xBB|SC8125|101", "|SC8125|102", "\xBB|CB5001|200"));
    d().Press("?DASSHOWTAG");
    EXPECT_EQ(d().Text("?DASSHOWTAG"), "Showing Tagged");
    EXPECT_THAT(d().Rows("?LIST"), ElementsAre("\xBB|SC8125|101", "\xBB|CB5001|200"));
    d().Press("?DASSHOWTAG");
    EXPECT_THAT(d().Rows("?LIST"), ElementsAre("|SC8125|102"));
    d().Press("?DASSHOWTAG");
    d().Press("?DASUNTAGALL");
    EXPECT_THAT(d().Rows("?LIST"), ElementsAre("|SC8125|101", "|SC8125|102", "|CB5001|200"));
    // Reverse with nothing tagged tags every disc; tag All the same.
    d().Press("?DASREVTAG");
    EXPECT_THAT(d().Rows("?LIST"), ElementsAre("\xBB|SC8125|101", "\xBB|SC8125|102", "\xBB|CB5001|200"));
    d().Press("?DASUNTAGALL");
    d().Press("?DASTAGALL");
    EXPECT_THAT(d().Rows("?LIST"), ElementsAre("\xBB|SC8125|101", "\xBB|SC8125|102", "\xBB|CB5001|200"));
    // Untag one of the two discs with one manufacturer's ID: the other stays.
    d().Choose("?LIST", 1);
    d().Press("?DASTAG");
    EXPECT_THAT(d().Rows("?LIST"), ElementsAre("|SC8125|101", "\xBB|SC8125|102", "\xBB|CB5001|200"));

    // Closing keeps the tags left in TAGFILE.
    d().Press("?CANCEL");
    EXPECT_FALSE(d().IsOpen(kSetup));
    EXPECT_EQ(TagFileNow(), (std::vector<LabelTag>{{"SC8125", "102"}, {"CB5001", "200"}}));
}

TEST_F(CdLabelSetupTest, PrintLabelsWritesTheTagsPrintsAndClearsThem) {
    Open();
    d().AnswerMessage("Please tag the disc(s) you|wish to print labels for...", fw::Button::Ok);
    d().Press("?PRINTLABELS");
    EXPECT_FALSE(d().IsOpen("ReportDestinationWindow"));

    d().Choose("?LIST", 1);
    d().Press("?DASTAG");
    d().Choose("?LIST", 2);
    d().Press("?DASTAG");
    d().Type("?LABELFOOTER", "A footer of thirty-five characters.");
    EXPECT_EQ(LabelSettings().LABELFOOTER.Str(), "A footer of thirty-five charac");
    d().AnswerColorDialog(0x0000FF);
    d().Press("?BUTTON9");
    EXPECT_EQ(LabelSettings().LabelTextColor, 0x0000FF);
    d().AnswerColorDialog(-1);  // cancelled: the colour stays
    d().Press("?BUTTON9:2");
    EXPECT_EQ(LabelSettings().LabelBackColor, 0xFFFFFF);

    d().AnswerMessage("compatable CD labels loaded", fw::Button::Yes);
    d().AnswerMessage("1 page went to the printer", fw::Button::Ok);
    d().Press("?PRINTLABELS");
    ChooseDestination(true);
    RunPass();
    EXPECT_EQ(d().UnusedAnswers(), 0u);
    ASSERT_EQ(sink.jobs.size(), 1u);
    ASSERT_EQ(sink.jobs[0].pages.size(), 1u);
    const std::string& page = sink.jobs[0].pages[0];
    EXPECT_NE(page.find("18 700 color=0000FF left clip \"101\""), std::string::npos);
    EXPECT_NE(page.find("18 700 color=0000FF left clip \"102\""), std::string::npos);
    EXPECT_NE(page.find("clip \"A footer of thirty-five charac\""), std::string::npos);
    EXPECT_EQ(printing_test::Count(page, "band LABELHEADER"), 2);
    // The tags are gone from the list; TAGFILE holds them until the window closes.
    ASSERT_TRUE(d().IsOpen(kSetup));
    EXPECT_THAT(d().Rows("?LIST"), ElementsAre("|SC8125|101", "|SC8125|102", "|CB5001|200"));
    EXPECT_EQ(TagFileNow(), (std::vector<LabelTag>{{"SC8125", "101"}, {"SC8125", "102"}}));

    // Mini-labels, and the colours reset on the next opening.
    d().Press("?LABELTYPE:MINI");
    EXPECT_EQ(LabelSettings().LABELTYPE, label_type::Mini);
    d().Press("?DASTAGALL");
    d().AnswerMessage("compatable labels loaded", fw::Button::Yes);
    d().AnswerMessage("1 page went to the printer", fw::Button::Ok);
    d().Press("?PRINTLABELS");
    ChooseDestination(true);
    RunPass();
    ASSERT_EQ(sink.jobs.size(), 2u);
    EXPECT_EQ(printing_test::Count(sink.jobs[1].pages[0], "band MINILABEL"), 3);
    d().Press("?CANCEL");
    EXPECT_TRUE(TagFileNow().empty());
    Open();
    EXPECT_EQ(LabelSettings().LabelTextColor, 0);
    EXPECT_EQ(LabelSettings().LABELTYPE, label_type::Mini);  // kept for the program's run
}

// A printer that refuses every job, as a stopped queue does.
struct RefusingSink : fw::report::PrintSink {
    bool BeginJob(const std::string&, const fw::report::Page&) override {
        error_ = "the print service reports the printer \"Office\" as stopped; it takes no jobs";
        return false;
    }
    bool AddPage(const fw::report::Page&, int) override { return false; }
    bool EndJob() override { return true; }
};

TEST_F(CdLabelSetupTest, TheTagsStayUntilTheLabelsWentToThePrinter) {
    Open();
    d().Choose("?LIST", 3);
    d().Press("?DASTAG");
    const std::vector<std::string> tagged = {"|SC8125|101", "|SC8125|102", "\xBB|CB5001|200"};
    // Cancelled where the labels should go.
    d().Press("?PRINTLABELS");
    ASSERT_TRUE(d().IsOpen("ReportDestinationWindow"));
    d().Press("?CANCEL", "ReportDestinationWindow");
    EXPECT_THAT(d().Rows("?LIST"), ::testing::ElementsAreArray(tagged));
    // No to "labels loaded?".
    d().AnswerMessage("compatable CD labels loaded", fw::Button::No);
    d().Press("?PRINTLABELS");
    ChooseDestination(true);
    RunPass();
    EXPECT_EQ(d().UnusedAnswers(), 0u);
    EXPECT_THAT(d().Rows("?LIST"), ::testing::ElementsAreArray(tagged));
    // The printer refuses the job: its reason is told.
    printing::SetPrintSinkFactory([] { return std::make_unique<RefusingSink>(); });
    d().AnswerMessage("compatable CD labels loaded", fw::Button::Yes);
    d().AnswerMessage("as stopped; it takes no jobs", fw::Button::Ok);
    d().Press("?PRINTLABELS");
    ChooseDestination(true);
    RunPass();
    EXPECT_EQ(d().UnusedAnswers(), 0u);
    EXPECT_THAT(d().Rows("?LIST"), ::testing::ElementsAreArray(tagged));
    EXPECT_TRUE(sink.jobs.empty());
    // Closing keeps them in TAGFILE.
    d().Press("?CANCEL");
    EXPECT_EQ(TagFileNow(), (std::vector<LabelTag>{{"CB5001", "200"}}));
}

TEST_F(CdLabelSetupTest, ATagFileThatCannotBeWrittenIsToldAndNothingPrints) {
    std::filesystem::create_directory(Path(kTagFileName));  // a folder where the file should go
    Open();
    d().Choose("?LIST", 3);
    d().Press("?DASTAG");
    d().AnswerMessage("No labels were printed.", fw::Button::Ok);
    d().Press("?PRINTLABELS");
    EXPECT_EQ(d().UnusedAnswers(), 0u);
    EXPECT_FALSE(d().IsOpen("ReportDestinationWindow"));
    EXPECT_THAT(d().Rows("?LIST"), ElementsAre("|SC8125|101", "|SC8125|102", "\xBB|CB5001|200"));  // kept
    d().AnswerMessage("The tagged discs were not kept.", fw::Button::Ok);
    d().Press("?CANCEL");
    EXPECT_FALSE(d().IsOpen(kSetup));
    EXPECT_FALSE(d().Halted());
    EXPECT_TRUE(sink.jobs.empty());
}

TEST_F(CdLabelSetupTest, HelpOpensItsPage) {
    std::filesystem::create_directories(Path("help"));
    std::ofstream(Path("help/PrintingLabels.htm")) << "<html></html>";
    shell::InstallFolder = Folder();
    shell::OsVersionInfo.majorVersion = 5;
    std::vector<std::string> opened;
    fw::SetDesktopOpener([&opened](const QUrl& url) { opened.push_back(url.toString().toStdString()); });
    Open();
    d().Press("?HELP");
    fw::SetDesktopOpener(nullptr);
    shell::OsVersionInfo = {};
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find("PrintingLabels.htm"), std::string::npos) << opened[0];
    EXPECT_TRUE(d().IsOpen(kSetup));
}

}  // namespace
}  // namespace printing
