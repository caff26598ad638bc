// The SongBook Designer through the test driver: what opening sets, the
// enable rules, colours, Save and Recall with their questions and repairs,
// the page-break window and Print SongBook starting the print.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/config/atomic_file.h"
#include "platform/text/dates.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/message.h"
#include "platform/ui/window_api.h"
#include "printing/print_settings.h"
#include "printing/printing_procedures.h"
#include "printing/song_book_designer.h"
#include "shell/program_procedures.h"
#include "shell/window_runtime.h"

namespace printing {
namespace {

class DesignerTest : public ::testing::Test {
protected:
    void SetUp() override {
        shell::ConnectWindowRuntime();
        PrintSettings() = PrintSetup{};
        RegisterPrintingProcedures();
        driver = std::make_unique<fw::testing::Driver>(fw::testing::GTestFailures());
        d().FixClock(today, 0);
    }
    void TearDown() override {
        driver.reset();
        shell::SetProgramProcedure("PrintSongBook", nullptr);
        PrintSettings() = PrintSetup{};
        shell::DisconnectWindowRuntime();
    }
    fw::testing::Driver& d() { return *driver; }
    std::string Path(const char* name) const { return (dir.path() + "/" + name).toStdString(); }

    const long today = fw::DATE(6, 1, 2026);
    QTemporaryDir dir;
    std::unique_ptr<fw::testing::Driver> driver;
};

TEST_F(DesignerTest, OpeningSetsItsDefaultsAndTheStylesRuleTheSizes) {
    PrintSettings().PAGEBREAKOFFSET = 2;  // left from an earlier print
    shell::SetProgramProcedure("PrintSongBook", nullptr);  // a program without the print
    d().Start(SongBookDesigner);
    ASSERT_TRUE(d().IsOpen("P1$DESIGNER"));
    const PrintSetup& s = PrintSettings();
    EXPECT_EQ(s.PAGEBREAKOFFSET, 0);
    EXPECT_EQ(s.Offset, 80);
    EXPECT_EQ(s.EndDate, today);
    EXPECT_EQ(d().Text("?SAMPLE1"), "Sample Song Title");
    EXPECT_FALSE(d().Enabled("?PRINTSONGBOOK"));  // nothing to print with

    d().Choose("?SHEET1", 1);
    d().Press("?PRINTFORMAT:FORMATTED2");  // style 5: two columns have no large print
    EXPECT_EQ(s.PrintFormat, 5);
    EXPECT_EQ(s.SetFonts, 2);
    d().Choose("?SHEET1", 3);
    EXPECT_FALSE(d().Enabled("?SETFONTS:LARGE"));
    EXPECT_TRUE(d().Enabled("?SETFONTS:SMALL"));
    d().Choose("?SHEET1", 1);
    d().Press("?PRINTFORMAT:PLAIN");
    d().Choose("?SHEET1", 3);
    EXPECT_TRUE(d().Enabled("?SETFONTS:LARGE"));
    EXPECT_EQ(s.SetFonts, 2);  // Medium stays
    d().Choose("?SHEET1", 1);
    d().Press("?PRINTFORMAT:INDENTED");  // style 4: no size choice at all
    d().Choose("?SHEET1", 3);
    for (const char* radio : {"?SETFONTS:SMALL", "?SETFONTS:MEDIUM", "?SETFONTS:LARGE"}) EXPECT_FALSE(d().Enabled(radio));

    // All Caps and the artist sort show in the sample.
    d().Press("?CASESTYLE:CAPS");
    d().Choose("?SHEET1", 1);
    d().Press("?PRINTSORT:ARTIST");
    d().Choose("?SHEET1", 3);
    EXPECT_EQ(d().Text("?SAMPLE1"), "ARTIST, JOE");
    EXPECT_EQ(d().Text("?SAMPLE2"), "SAMPLE SONG TITLE");

    // The offset and date controls show with their switches.
    d().Choose("?SHEET1", 5);
    EXPECT_TRUE(d().Hidden("?OFFSET"));
    d().Check("?OFFSETPAGES", true);
    EXPECT_FALSE(d().Hidden("?OFFSET"));
    EXPECT_TRUE(d().Hidden("?STARTDATE"));
    d().Check("?FILTERREPORT", true);
    EXPECT_FALSE(d().Hidden("?STARTDATE"));
    EXPECT_EQ(s.StartDate, today);

    // A colour button fills its box and the setting.
    d().Choose("?SHEET1", 2);
    d().AnswerColorDialog(0x00FF00);
    d().Press("?HEADERCOLORBUTTON");
    EXPECT_EQ(s.HeaderColor, 0x00FF00);
    EXPECT_EQ(fw::GetProp("?HEADERCOLORBOX", fw::Prop::Fill).Int(), 0x00FF00);

    if (const char* shots = std::getenv("CV_SCREENSHOT_DIR"); shots && *shots) {
        for (int tab = 1; tab <= 5; ++tab) {
            d().Choose("?SHEET1", tab);
            d().Screenshot("P1$DESIGNER", std::string(shots) + "/P1$DESIGNER-" + std::to_string(tab) + ".png");
        }
    }
    d().Press("?CLOSEBUTTON");
    EXPECT_FALSE(d().IsOpen("P1$DESIGNER"));
}

TEST_F(DesignerTest, SaveAndRecallRoundTripWithTheirQuestionsAndRepairs) {
    d().Start(SongBookDesigner);
    d().Choose("?SHEET1", 2);
    d().Type("?REPORTHEADER", "Crown and Anchor");
    d().AnswerFileDialog(Path("friday.txt"));
    d().Press("?SAVEDESIGN");
    std::string bytes;
    ASSERT_EQ(fw::ReadWholeFile(Path("friday.psf"), bytes), fw::FileReadResult::Read);

    d().Type("?REPORTHEADER", "Something else");
    // Yes to the question, then a cancelled save dialog: nothing is recalled.
    d().AnswerMessage("Do you wish to save the current design?", 1);
    d().AnswerFileDialog("");
    d().Press("?RECALLDESIGN");
    EXPECT_EQ(PrintSettings().ReportHeader, "Something else");

    d().AnswerMessage("Do you wish to save the current design?", 2);
    d().AnswerFileDialog(Path("friday.psf"));
    d().Press("?RECALLDESIGN");
    EXPECT_EQ(PrintSettings().ReportHeader, "Crown and Anchor");
    EXPECT_EQ(d().Text("?REPORTHEADER"), "Crown and Anchor");

    // A damaged file is repaired and says so; another kind of file is refused.
    bytes.replace(bytes.find("PrintFormat=1"), 13, "PrintFormat=77");
    fw::ReplaceFileAtomically(Path("damaged.psf"), bytes);
    d().AnswerMessage("Do you wish to save the current design?", 2);
    d().AnswerFileDialog(Path("damaged.psf"));
    d().AnswerMessage("PrintFormat", fw::Button::Ok);
    d().Press("?RECALLDESIGN");
    EXPECT_EQ(PrintSettings().PrintFormat, 1);
    fw::ReplaceFileAtomically(Path("other.psf"), "[Version]\r\nVersion=Request Setup File\r\n");
    d().AnswerMessage("Do you wish to save the current design?", 2);
    d().AnswerFileDialog(Path("other.psf"));
    d().AnswerMessage("Invalid SongBook Print Setup File", fw::Button::Ok);
    d().Press("?RECALLDESIGN");
    EXPECT_EQ(d().UnusedAnswers(), 0u);

    // A save into a folder that does not exist says so.
    d().AnswerFileDialog(Path("missing/x.psf"));
    d().AnswerMessage("could not be saved", fw::Button::Ok);
    d().Press("?SAVEDESIGN");
    EXPECT_EQ(d().UnusedAnswers(), 0u);
}

TEST_F(DesignerTest, PrintSongBookStartsThePrintAndThePageBreakWindowEditsItsSetting) {
    int started = 0;
    std::string footerAtStart;
    shell::SetProgramProcedure("PrintSongBook", [&] {
        ++started;
        footerAtStart = ReportFooterText();
    });
    const int designerThread = d().Start(SongBookDesigner);
    d().Choose("?SHEET1", 4);
    d().Type("?REPORTFOOTER", "Thank you");
    ASSERT_TRUE(d().Enabled("?PRINTSONGBOOK"));
    d().Press("?PRINTSONGBOOK");
    EXPECT_EQ(started, 1);
    EXPECT_EQ(footerAtStart, "Thank you");
    EXPECT_TRUE(d().IsOpen("P1$DESIGNER"));  // it stays open for another print
    EXPECT_GT(designerThread, 0);

    d().Choose("?SHEET1", 5);
    d().Press("?PAGEBREAKBUTTON");
    ASSERT_TRUE(d().IsOpen("P1$PAGEBREAKOFFSET"));
    d().Type("?GLO:PAGEBREAKOFFSET", "-2");
    d().Press("?OK");
    EXPECT_FALSE(d().IsOpen("P1$PAGEBREAKOFFSET"));
    EXPECT_EQ(PrintSettings().PAGEBREAKOFFSET, -2);
    EXPECT_EQ(d().Text("?GLO:PAGEBREAKOFFSET"), " -2");  // shown in the designer
}

}  // namespace
}  // namespace printing
