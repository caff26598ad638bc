// The layout file format: what it reads, and the faults it names.
#include "platform/ui/layout.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ui/events.h"

namespace {

TEST(Layout, ReadsWindowAndControlLines) {
    fw::WindowLayout l = fw::ParseLayout(R"(# comment
window P1$FORM
caption "Edit ""Listing"""
kind mdi
at 10 20 300 150
font "Arial" 9 700
timer 1
minsize 200 150
status -1 80
attr resize
alert MouseRight
control ?SBK:Title entry
  at 4 4 100 12
  picture @s40
  alert CtrlApostrophe 2DEh
  tip "one|two"
control ?GRP group
  text "Options"
  at 1 1 10 10
control ?SBK:Print check
  parent ?GRP
  values "X" ""
  color 0FFh 800000h
  attr hide disable
control ?Spin spin
  range -5 5
  step 5
)",
                                         "test");
    EXPECT_EQ(l.label, "P1$FORM");
    EXPECT_EQ(l.caption, "Edit \"Listing\"");
    EXPECT_EQ(l.kind, fw::WindowKind::MdiChild);
    EXPECT_FALSE(l.centered);
    EXPECT_EQ(l.at.w, 300);
    EXPECT_EQ(l.font.name, "Arial");
    EXPECT_EQ(l.font.style, 700);
    EXPECT_EQ(l.timer, 1);
    EXPECT_EQ(l.minWidth, 200);
    EXPECT_EQ(l.statusZones, (std::vector<int>{-1, 80}));
    EXPECT_TRUE(l.Has("RESIZE"));
    EXPECT_EQ(l.alerts, std::vector<int>{fw::KeyCode::MouseRight});
    ASSERT_EQ(l.controls.size(), 4u);
    const fw::ControlLayout* title = l.Find("?sbk:title");  // any case
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->spelling, "?SBK:Title");
    EXPECT_EQ(title->picture, "@s40");
    EXPECT_EQ(title->alerts, (std::vector<int>{0x2DE, 0x2DE}));
    const fw::ControlLayout* print = l.Find("?SBK:PRINT");
    EXPECT_EQ(print->parent, "?GRP");
    EXPECT_EQ(print->trueValue, "X");
    EXPECT_EQ(print->falseValue, "");
    EXPECT_EQ(print->fontColor, 0xFF);
    EXPECT_EQ(print->color, 0x800000);
    EXPECT_TRUE(print->Has("hide"));
    EXPECT_EQ(*l.Find("?SPIN")->rangeLow, -5);
    EXPECT_EQ(l.Find("?SPIN")->step, 5);
}

TEST(Layout, FaultsNameTheirLine) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"caption \"x\"\n", "test:1: the file must start with: window <label>"},
        {"window A\ncontrol OK button\n", "test:2: a use-equate starts with ?"},
        {"window A\ncontrol ?OK knob\n", "test:2: unknown control kind: knob"},
        {"window A\ncontrol ?OK button\ncontrol ?ok button\n", "test:3: use-equate declared twice: ?ok"},
        {"window A\ncontrol ?OK button\n  parent ?GROUP\n", "test:3: parent not declared before: ?GROUP"},
        {"window A\ncontrol ?OK button\n  at 1 2 x 4\n", "test:3: not a number: x"},
        {"window A\ncontrol ?OK button\n  text \"open\n", "test:3: a text in quotes is not closed"},
        {"window A\nwobble 1\n", "test:2: unknown window line: wobble"},
        {"window A\ncontrol ?L list\n  alert Sneeze\n", "test:3: unknown key: Sneeze"},
        {"", "test:1: no window line"},
    };
    for (const Case& c : cases) {
        try {
            fw::ParseLayout(c.text, "test");
            ADD_FAILURE() << "no fault for: " << c.text;
        } catch (const fw::LayoutError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

TEST(Layout, KeyNamesAndCodes) {
    int code = 0;
    EXPECT_TRUE(fw::KeyCodeByName("ctrlenter", code));
    EXPECT_EQ(code, 0x20D);
    EXPECT_TRUE(fw::KeyCodeByName("0x2DE", code));
    EXPECT_EQ(code, 0x2DE);
    EXPECT_TRUE(fw::KeyCodeByName("5h", code));
    EXPECT_EQ(code, fw::KeyCode::MouseLeft2);
    EXPECT_FALSE(fw::KeyCodeByName("Hyper", code));
}

}  // namespace
