// The print menus with the program's own windows behind their buttons:
// each button opens its window on the menu's thread, and the menu is back
// when that window closes.
#include <gtest/gtest.h>

#include "printing/print_menus.h"
#include "report_test_support.h"

namespace printing {
namespace {

class PrintMenuWindows : public printing_test::ReportProcedureTest {};

TEST_F(PrintMenuWindows, EveryButtonReachesItsWindow) {
    MakeBrands({1});
    OpenBook({{"SC8125", "101", 1, "SC"}}, {{"Danny Boy", "Traditional", "SC8125", 1}});
    fw::testing::Driver& d = this->d();
    d.Start(PrintMenu);
    ASSERT_TRUE(d.IsOpen("P1$PRINTMENU"));
    struct Case {
        const char* button;
        const char* window;
        const char* close;  // the button that closes it
    };
    const Case cases[] = {
        {"?PRINTSONGBOOK", "P1$DESIGNER", "?CLOSEBUTTON"},
        {"?PRINTLABELS", "P1$CDLABELSETUP", "?CANCEL"},
        {"?PRINTREQUESTSLIPS", "P1$REQUESTCARDSETUP", "?CANCELBUTTON"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(d.Enabled(c.button, "P1$PRINTMENU")) << c.button;
        d.Press(c.button, "P1$PRINTMENU");
        ASSERT_TRUE(d.IsOpen(c.window)) << c.button;
        EXPECT_FALSE(d.Enabled(c.button, "P1$PRINTMENU"));  // the menu waits
        d.Press(c.close, c.window);
        EXPECT_FALSE(d.IsOpen(c.window)) << c.window;
        EXPECT_TRUE(d.Enabled(c.button, "P1$PRINTMENU")) << c.button;
    }
    d.Press("?PRINTREPORTS", "P1$PRINTMENU");
    ASSERT_TRUE(d.IsOpen("P1$MANAGEMENTREPORTSMENU"));
    for (const char* report : {"?BUTTON2", "?BUTTON2:2"}) {
        d.Press(report, "P1$MANAGEMENTREPORTSMENU");
        ASSERT_TRUE(d.IsOpen("ReportDestinationWindow")) << report;
        d.Press("?CANCEL", "ReportDestinationWindow");
        EXPECT_FALSE(d.IsOpen("ReportDestinationWindow"));
    }
    d.Press("?CANCELBUTTON", "P1$MANAGEMENTREPORTSMENU");
    EXPECT_FALSE(d.IsOpen("P1$MANAGEMENTREPORTSMENU"));
    d.Press("?CANCELBUTTON", "P1$PRINTMENU");
    EXPECT_FALSE(d.IsOpen("P1$PRINTMENU"));
}

}  // namespace
}  // namespace printing
