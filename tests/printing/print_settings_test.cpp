// Print setup files: a saved design recalls the same, a damaged file is
// repaired and says which settings, and other files change nothing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "platform/config/atomic_file.h"
#include "platform/text/clock.h"
#include "platform/text/dates.h"
#include "printing/print_settings.h"

namespace printing {
namespace {

class PrintSetupFiles : public ::testing::Test {
protected:
    void SetUp() override { fw::FixClock(fw::DATE(3, 14, 2026), 0); }
    void TearDown() override { fw::ResetClock(); }
    std::string Path(const char* name) const { return (dir_.path() + "/" + name).toStdString(); }
    std::string Read(const std::string& path) const {
        std::string bytes;
        fw::ReadWholeFile(path, bytes);
        return bytes;
    }
    void Write(const std::string& path, const std::string& bytes) const { fw::ReplaceFileAtomically(path, bytes); }
    QTemporaryDir dir_;
};

PrintSetup ADesign() {
    PrintSetup s;
    s.PrintSort = 2;
    s.PrintFormat = 5;
    s.ReportHeader = "Friday Karaoke at the Crown";
    s.HeaderFont = "Times New Roman";
    s.HeaderSetBold = 1;
    s.HeaderColor = 0x0000FF;
    s.PrintFont = "Courier";
    s.ArtistBold = 1;
    s.SetFonts = 2;
    s.CaseStyle = 2;
    s.NameFormat = 1;
    s.ReportFooter = "Ask the host";
    s.FilterReport = 1;
    s.StartDate = fw::DATE(1, 1, 2025);
    s.EndDate = fw::DATE(12, 31, 2025);
    s.ColumnBarFill = 0x808080;
    s.StartingPageNumber = 3;
    s.OffsetPages = 1;
    s.Offset = 125;
    s.PaperType = 2;
    s.ShowMake = 1;
    s.FilterGenre = 1;
    s.PrintGenre = "Country";
    s.ignoreomits = 1;
    s.PAGEBREAKOFFSET = -2;
    return s;
}

bool Same(const PrintSetup& a, const PrintSetup& b) {
    return a.PrintSort == b.PrintSort && a.PrintFormat == b.PrintFormat && a.ReportHeader == b.ReportHeader &&
           a.HeaderFont == b.HeaderFont && a.HeaderSetBold == b.HeaderSetBold && a.HeaderColor == b.HeaderColor &&
           a.PrintFont == b.PrintFont && a.ArtistBold == b.ArtistBold && a.SetFonts == b.SetFonts &&
           a.CaseStyle == b.CaseStyle && a.NameFormat == b.NameFormat && a.ReportFooter == b.ReportFooter &&
           a.FilterReport == b.FilterReport && a.StartDate == b.StartDate && a.EndDate == b.EndDate &&
           a.ColumnBarFill == b.ColumnBarFill && a.StartingPageNumber == b.StartingPageNumber &&
           a.OffsetPages == b.OffsetPages && a.Offset == b.Offset && a.PaperType == b.PaperType &&
           a.ShowMake == b.ShowMake && a.FilterGenre == b.FilterGenre && a.PrintGenre == b.PrintGenre &&
           a.ignoreomits == b.ignoreomits && a.PAGEBREAKOFFSET == b.PAGEBREAKOFFSET;
}

TEST_F(PrintSetupFiles, ASavedDesignRecallsTheSameAndKeepsOtherKeys) {
    EXPECT_EQ(PrintSetupFileName("/books/Friday.txt"), "/books/Friday.psf");
    EXPECT_EQ(PrintSetupFileName("/books/Friday"), "/books/Friday.psf");
    const std::string file = Path("Friday.psf");
    Write(file, "[Notes]\r\nmine=kept\r\n");
    ASSERT_TRUE(SavePrintSetup(file, ADesign()));
    const std::string bytes = Read(file);
    EXPECT_NE(bytes.find("mine=kept"), std::string::npos);
    EXPECT_NE(bytes.find("Version=SongBook Print Setup File"), std::string::npos);
    EXPECT_NE(bytes.find("PageBreakOffset=-2"), std::string::npos);
    // The keys stand in the designed order.
    EXPECT_LT(bytes.find("PrintSort="), bytes.find("PrintFormat="));
    EXPECT_LT(bytes.find("FilterDuets="), bytes.find("ignoreomits="));
    EXPECT_LT(bytes.find("ignoreomits="), bytes.find("PageBreakOffset="));

    PrintSetup recalled;
    std::vector<std::string> repaired;
    ASSERT_EQ(RecallPrintSetup(file, recalled, repaired), RecallResult::Recalled);
    EXPECT_TRUE(repaired.empty()) << repaired.front();
    EXPECT_TRUE(Same(recalled, ADesign()));
}

TEST_F(PrintSetupFiles, DamagedValuesTakeTheirInitialValueOrTheirRangeAndAreNamed) {
    const std::string file = Path("damaged.psf");
    ASSERT_TRUE(SavePrintSetup(file, ADesign()));
    std::string bytes = Read(file);
    auto replace = [&](const std::string& from, const std::string& to) {
        const auto at = bytes.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        bytes.replace(at, from.size(), to);
    };
    replace("PrintFormat=5", "PrintFormat=9");
    replace("Offset=125", "Offset=900");
    replace("PageBreakOffset=-2", "PageBreakOffset=-9");
    replace("SetFonts=2\r\n", "");
    replace("HeaderColor=255", "HeaderColor=red");
    replace("PrintFont=Courier", "PrintFont=Wingdings");
    Write(file, bytes);
    PrintSetup recalled;
    std::vector<std::string> repaired;
    ASSERT_EQ(RecallPrintSetup(file, recalled, repaired), RecallResult::Recalled);
    EXPECT_EQ(repaired, (std::vector<std::string>{"PrintFormat", "HeaderColor", "PrintFont", "SetFonts", "Offset",
                                                  "PageBreakOffset"}));
    EXPECT_EQ(recalled.PrintFormat, 1);
    EXPECT_EQ(recalled.HeaderColor, 0);
    EXPECT_EQ(recalled.PrintFont, "Arial");
    EXPECT_EQ(recalled.SetFonts, 3);
    EXPECT_EQ(recalled.Offset, 500);
    EXPECT_EQ(recalled.PAGEBREAKOFFSET, -5);
    EXPECT_EQ(recalled.ReportHeader, "Friday Karaoke at the Crown");  // the rest recalls as saved
}

TEST_F(PrintSetupFiles, WithoutTheDateFilterBothDatesAreTodayAndLetterIsZeroInOlderFiles) {
    PrintSetup design = ADesign();
    design.FilterReport = 0;
    const std::string file = Path("nodates.psf");
    ASSERT_TRUE(SavePrintSetup(file, design));
    std::string bytes = Read(file);
    bytes.replace(bytes.find("PaperType=2"), 11, "PaperType=0");
    Write(file, bytes);
    PrintSetup recalled;
    std::vector<std::string> repaired;
    ASSERT_EQ(RecallPrintSetup(file, recalled, repaired), RecallResult::Recalled);
    EXPECT_TRUE(repaired.empty());
    EXPECT_EQ(recalled.StartDate, fw::TODAY());
    EXPECT_EQ(recalled.EndDate, fw::TODAY());
    EXPECT_EQ(recalled.PaperType, 1);
}

TEST_F(PrintSetupFiles, OtherFilesChangeNothingAndAFailedSaveSaysSo) {
    const std::string other = Path("request.rsf");
    Write(other, "[Version]\r\nVersion=Song Request Card Setup\r\n[Settings]\r\nPrintSort=2\r\n");
    PrintSetup unchanged = ADesign();
    std::vector<std::string> repaired;
    EXPECT_EQ(RecallPrintSetup(other, unchanged, repaired), RecallResult::NotASetupFile);
    EXPECT_EQ(RecallPrintSetup(Path("missing.psf"), unchanged, repaired), RecallResult::NotASetupFile);
    EXPECT_TRUE(Same(unchanged, ADesign()));
    EXPECT_FALSE(SavePrintSetup(Path("no/such/folder/x.psf"), ADesign()));
    // A path far longer than the old 80 characters saves and recalls.
    const std::string deep = Path("") + std::string(120, 'd');
    QDir().mkpath(QString::fromStdString(deep));
    ASSERT_TRUE(SavePrintSetup(deep + "/design.psf", ADesign()));
    PrintSetup recalled;
    EXPECT_EQ(RecallPrintSetup(deep + "/design.psf", recalled, repaired), RecallResult::Recalled);
}

}  // namespace
}  // namespace printing

#include "printing/request_card_settings.h"

namespace printing {
namespace {

TEST_F(PrintSetupFiles, RequestSetupFilesRoundTripAndRefusePrintSetupFiles) {
    EXPECT_EQ(RequestSetupFileName("/venue/Party.txt"), "/venue/Party.rsf");
    RequestCardSetupValues design;
    design.SongRequestHeaderText = "Sing With Us";
    design.SongRequestHeaderFont = "Liberation Serif";
    design.SongRequestHeaderFontSize = 14;
    design.SongRequestHeaderFontStyle = 700 + 4096;
    design.SongRequestLogoFilename = "/home/host/pictures/" + std::string(90, 'l') + ".jpg";  // past 64 characters
    design.UseHashMarks = 1;
    design.NUMBEROFSLIPS = 24;
    const std::string file = Path("Party.rsf");
    ASSERT_TRUE(SaveRequestSetup(file, design));
    EXPECT_EQ(Read(file).find("NUMBEROFSLIPS"), std::string::npos);

    RequestCardSetupValues recalled;
    recalled.NUMBEROFSLIPS = 3;
    std::vector<std::string> repaired;
    ASSERT_EQ(RecallRequestSetup(file, recalled, repaired), RecallResult::Recalled);
    EXPECT_TRUE(repaired.empty());
    EXPECT_EQ(recalled.SongRequestHeaderText, "Sing With Us");
    EXPECT_EQ(recalled.SongRequestHeaderFont, "Liberation Serif");
    EXPECT_EQ(recalled.SongRequestHeaderFontSize, 14);
    EXPECT_EQ(recalled.SongRequestHeaderFontStyle, 4796);
    EXPECT_EQ(recalled.SongRequestLogoFilename, design.SongRequestLogoFilename);
    EXPECT_EQ(recalled.NUMBEROFSLIPS, 3);  // the window's count stays

    std::string bytes = Read(file);
    bytes.replace(bytes.find("SongRequestHeaderFontStyle=4796"), 31, "SongRequestHeaderFontStyle=99999");
    bytes.replace(bytes.find("SongRequestFooterFont=Arial"), 27, "SongRequestFooterFont=");
    Write(file, bytes);
    ASSERT_EQ(RecallRequestSetup(file, recalled, repaired), RecallResult::Recalled);
    EXPECT_EQ(repaired, (std::vector<std::string>{"SongRequestHeaderFontStyle", "SongRequestFooterFont"}));
    EXPECT_EQ(recalled.SongRequestHeaderFontStyle, 700);
    EXPECT_EQ(recalled.SongRequestFooterFont, "Arial");

    ASSERT_TRUE(SavePrintSetup(Path("book.psf"), PrintSetup{}));
    RequestCardSetupValues unchanged = design;
    EXPECT_EQ(RecallRequestSetup(Path("book.psf"), unchanged, repaired), RecallResult::NotASetupFile);
    EXPECT_EQ(unchanged.SongRequestHeaderText, "Sing With Us");
}

}  // namespace
}  // namespace printing
