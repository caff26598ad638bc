// The print menus through the test driver: each button calls its window on
// the menu's thread and the menu waits for it; buttons without a window
// are disabled; the management reports can be printed in turn.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "printing/print_menus.h"
#include "printing/printing_procedures.h"
#include "shell/program_procedures.h"
#include "shell/window_runtime.h"

namespace printing {
namespace {

class PrintMenus : public ::testing::Test {
protected:
    void SetUp() override {
        shell::ConnectWindowRuntime();
        RegisterPrintingProcedures();
        for (const char* name :
             {"SongBookDesigner", "CdLabelSetup", "RequestCardSetup", "PrintSongTrackListing", "PrintDiscInventory"})
            shell::SetProgramProcedure(name, [this, name] { called.push_back(name); });
        driver = std::make_unique<fw::testing::Driver>(fw::testing::GTestFailures());
    }
    void TearDown() override {
        driver.reset();
        for (const char* name : {"PrintMenu", "ManagementReportsMenu", "SongBookDesigner", "CdLabelSetup",
                                 "RequestCardSetup", "PrintRequestSlips", "PrintSongTrackListing",
                                 "PrintDiscInventory"})
            shell::SetProgramProcedure(name, nullptr);
        shell::DisconnectWindowRuntime();
    }
    std::unique_ptr<fw::testing::Driver> driver;
    std::vector<std::string> called;
};

TEST_F(PrintMenus, EachButtonCallsItsWindowAndTheMenuStaysOpen) {
    fw::testing::Driver& d = *driver;
    d.Start(PrintMenu);
    ASSERT_TRUE(d.IsOpen("P1$PRINTMENU"));
    EXPECT_EQ(d.Caption("P1$PRINTMENU"), "Cantorvale V2 DedaDaru Virovir - Print Menu");
    if (const char* dir = std::getenv("CV_SCREENSHOT_DIR"); dir && *dir)
        d.Screenshot("P1$PRINTMENU", std::string(dir) + "/P1$PRINTMENU.png");
    d.Press("?PRINTSONGBOOK");
    d.Press("?PRINTLABELS");
    d.Press("?PRINTREQUESTSLIPS");
    EXPECT_EQ(called, (std::vector<std::string>{"SongBookDesigner", "CdLabelSetup", "RequestCardSetup"}));
    EXPECT_TRUE(d.IsOpen("P1$PRINTMENU"));

    // The management menu runs inside the print menu; both reports in turn,
    // then its Cancel comes back to the print menu.
    d.Press("?PRINTREPORTS");
    ASSERT_TRUE(d.IsOpen("P1$MANAGEMENTREPORTSMENU"));
    EXPECT_FALSE(d.Enabled("?PRINTSONGBOOK", "P1$PRINTMENU"));  // its caller waits
    d.Press("?BUTTON2");
    d.Press("?BUTTON2:2");
    d.Press("?BUTTON2");
    EXPECT_EQ(called.size(), 6u);
    EXPECT_EQ(called.back(), "PrintSongTrackListing");
    d.Press("?CANCELBUTTON", "P1$MANAGEMENTREPORTSMENU");
    EXPECT_FALSE(d.IsOpen("P1$MANAGEMENTREPORTSMENU"));
    ASSERT_TRUE(d.IsOpen("P1$PRINTMENU"));
    EXPECT_TRUE(d.Enabled("?PRINTSONGBOOK"));
    d.CloseWindow("P1$PRINTMENU");
    EXPECT_FALSE(d.IsOpen("P1$PRINTMENU"));
}

TEST_F(PrintMenus, AButtonWithoutItsProcedureIsDisabled) {
    shell::SetProgramProcedure("CdLabelSetup", nullptr);
    driver->Start(PrintMenu);
    EXPECT_FALSE(driver->Enabled("?PRINTLABELS"));
    EXPECT_TRUE(driver->Enabled("?PRINTSONGBOOK"));
    driver->Press("?CANCELBUTTON");
}

TEST_F(PrintMenus, AManagementReportWithoutItsProcedureIsDisabled) {
    shell::SetProgramProcedure("PrintDiscInventory", nullptr);
    fw::testing::Driver& d = *driver;
    d.Start(ManagementReportsMenu);
    EXPECT_TRUE(d.Enabled("?BUTTON2"));
    EXPECT_FALSE(d.Enabled("?BUTTON2:2"));
    d.Press("?CANCELBUTTON");
    EXPECT_FALSE(d.IsOpen("P1$MANAGEMENTREPORTSMENU"));
}

}  // namespace
}  // namespace printing
