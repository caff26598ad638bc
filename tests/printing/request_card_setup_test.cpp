// Song Request Card Setup through the test driver: the defaults on every
// opening, the font dialogs and the sample, the logo (a WMF refused), Save
// and Recall with the slip count kept, and Print starting the slips.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window_api.h"
#include "printing/print_settings.h"
#include "printing/printing_procedures.h"
#include "printing/request_card_settings.h"
#include "printing/request_card_setup.h"
#include "shell/program_procedures.h"
#include "shell/window_runtime.h"

namespace printing {
namespace {

class RequestCardSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        shell::ConnectWindowRuntime();
        RegisterPrintingProcedures();
        driver = std::make_unique<fw::testing::Driver>(fw::testing::GTestFailures());
    }
    void TearDown() override {
        driver.reset();
        shell::SetProgramProcedure("PrintRequestSlips", nullptr);
        shell::DisconnectWindowRuntime();
    }
    fw::testing::Driver& d() { return *driver; }
    std::string Path(const char* name) const { return (dir.path() + "/" + name).toStdString(); }
    QTemporaryDir dir;
    std::unique_ptr<fw::testing::Driver> driver;
};

TEST_F(RequestCardSetupTest, TheSampleFollowsTheFontsAndTheLogo) {
    RequestCardSettings().SongRequestHeaderText = "left from before";
    d().Start(RequestCardSetup);
    ASSERT_TRUE(d().IsOpen("P1$REQUESTCARDSETUP"));
    EXPECT_EQ(d().Text("?SONGREQUESTHEADERTEXT:2"), "Karaoke Song Request");
    EXPECT_TRUE(d().Enabled("?OKBUTTON"));  // the slips are registered
    EXPECT_TRUE(d().Hidden("?LOGO"));

    d().AnswerFontDialog("Liberation Serif", 14, 0x0000FF, 700);
    d().Press("?HEADERTEXTCOLOR");
    const RequestCardSetupValues& s = RequestCardSettings();
    EXPECT_EQ(s.SongRequestHeaderFont, "Liberation Serif");
    EXPECT_EQ(s.SongRequestHeaderFontSize, 14);
    EXPECT_EQ(fw::GetProp("?SONGREQUESTHEADERTEXT:2", fw::Prop::FontSize).Int(), 12);  // two points smaller
    d().CancelFontDialog();
    d().Press("?HEADERTEXTCOLOR:2");
    EXPECT_EQ(s.SongRequestFooterFontSize, 8);

    d().AnswerFileDialog(Path("venue.wmf"));
    d().AnswerMessage("Windows Meta File", fw::Button::Ok);
    d().Press("?SELECTIMAGE");
    EXPECT_TRUE(s.SongRequestLogoFilename.empty());
    const std::string logo = Path("venue.bmp");
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(QString::fromStdString(logo), "BMP"));
    d().AnswerFileDialog(logo);
    d().Press("?SELECTIMAGE");
    EXPECT_EQ(s.SongRequestLogoFilename, logo);
    EXPECT_FALSE(d().Hidden("?LOGO"));
    EXPECT_EQ(fw::GetProp("?SONGREQUESTFOOTERTEXT:2", fw::Prop::Xpos).Int(), 180);
    if (const char* shots = std::getenv("CV_SCREENSHOT_DIR"); shots && *shots)
        d().Screenshot("P1$REQUESTCARDSETUP", std::string(shots) + "/P1$REQUESTCARDSETUP.png");
    d().Press("?CANCELBUTTON");
    EXPECT_FALSE(d().IsOpen("P1$REQUESTCARDSETUP"));
}

TEST_F(RequestCardSetupTest, SaveRecallAndPrint) {
    int printed = 0;
    shell::SetProgramProcedure("PrintRequestSlips", [&] { ++printed; });
    d().Start(RequestCardSetup);
    d().Type("?SONGREQUESTHEADERTEXT", "Sing at the Crown");
    d().Check("?USEHASHMARKS", true);
    d().AnswerFileDialog(Path("crown.txt"));
    d().Press("?BUTTON6");
    d().Type("?SONGREQUESTHEADERTEXT", "Changed");
    d().Type("?NUMBEROFSLIPS", "16");

    d().AnswerMessage("Do you wish to save the current setup?", 2);
    d().AnswerFileDialog(Path("crown.rsf"));
    d().Press("?BUTTON7");
    const RequestCardSetupValues& s = RequestCardSettings();
    EXPECT_EQ(s.SongRequestHeaderText, "Sing at the Crown");
    EXPECT_EQ(d().Text("?SONGREQUESTHEADERTEXT:2"), "Sing at the Crown");
    EXPECT_EQ(s.UseHashMarks, 1);
    EXPECT_EQ(s.NUMBEROFSLIPS, 16);  // never read from the file

    ASSERT_TRUE(SavePrintSetup(Path("book.psf"), PrintSetup{}));
    d().AnswerMessage("Do you wish to save the current setup?", 2);
    d().AnswerFileDialog(Path("book.psf"));
    d().AnswerMessage("Invalid Request Setup File", fw::Button::Ok);
    d().Press("?BUTTON7");
    EXPECT_EQ(d().UnusedAnswers(), 0u);

    ASSERT_TRUE(d().Enabled("?OKBUTTON"));
    d().Press("?OKBUTTON");
    d().Press("?OKBUTTON");
    EXPECT_EQ(printed, 2);
    EXPECT_TRUE(d().IsOpen("P1$REQUESTCARDSETUP"));
}

}  // namespace
}  // namespace printing
