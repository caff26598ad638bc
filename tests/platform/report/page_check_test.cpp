// The page check: texts measured as a printer of a given resolution draws
// them, against their elements, the printable area and each other.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/report/page_check.h"
#include "platform/report/report_fonts.h"
#include "tests/platform/report/report_fixture.h"

namespace {

using namespace reporttest;

// One page with a text band and, where asked, a rule line.
Page OnePage(Rect text, std::string words, Rect second = {}, std::string secondWords = {}, Rect line = {}) {
    Page page;
    page.Add(OpKind::Band, "DETAIL");
    auto addText = [&page](Rect r, const std::string& s) {
        Op& op = page.Add(OpKind::Text, s);
        op.rect = r;
        op.font = page.InternFont(Font(10));
        op.clip = true;
    };
    addText(text, words);
    if (!secondWords.empty()) addText(second, secondWords);
    if (line.w != 0) {
        Op& op = page.Add(OpKind::Line);
        op.rect = line;
        op.width = 5;
    }
    return page;
}

bool Mentions(const std::vector<std::string>& faults, const std::string& what) {
    for (const std::string& f : faults)
        if (f.find(what) != std::string::npos) return true;
    return false;
}

TEST(PageCheck, EveryKindOfFault) {
    ASSERT_TRUE(RegisterReportFonts());
    const double wide = MeasureFor(Font(10), kTextUnitsPerInch).Width("Bridge Over Troubled Water");
    EXPECT_GT(wide, 1000);
    struct Case {
        const char* what;
        Page page;
        const char* fault;  // nullptr: the page is whole
    } cases[] = {
        {"fits", OnePage({1000, 1000, 3000, 200}, "Bridge Over Troubled Water"), nullptr},
        {"too wide", OnePage({1000, 1000, 1000, 200}, "Bridge Over Troubled Water"), "wide, its element 1000"},
        {"too low", OnePage({1000, 1000, 3000, 100}, "Bridge"), "high, its element 100"},
        {"off the sheet's edge", OnePage({7800, 1000, 1400, 200}, "Troubled Water"), "outside the printable area"},
        {"in the top margin", OnePage({1000, 100, 3000, 200}, "Bridge"), "outside the printable area"},
        {"over another", OnePage({1000, 1000, 3000, 200}, "Bridge Over Troubled Water", {2000, 1050, 1000, 200}, "Jude"),
         "is drawn over \"Jude\""},
        {"beside another", OnePage({1000, 1000, 1800, 200}, "Bridge Over", {3000, 1000, 1000, 200}, "Jude"), nullptr},
        {"a rule through it", OnePage({1000, 1000, 3000, 200}, "Bridge", {}, {}, {500, 1100, 4000, 0}), "runs through"},
        {"a rule above it", OnePage({1000, 1000, 3000, 200}, "Bridge", {}, {}, {500, 1000, 4000, 0}), nullptr},
        {"a rule off the sheet", OnePage({1000, 1000, 3000, 200}, "Bridge", {}, {}, {100, 2000, 8300, 0}),
         "line at 100,2000,8300,0 lies outside"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> faults = CheckPage(c.page, 1);
        if (!c.fault) {
            EXPECT_TRUE(faults.empty()) << c.what << ": " << (faults.empty() ? "" : faults[0]);
        } else {
            EXPECT_TRUE(Mentions(faults, c.fault)) << c.what << ": " << (faults.empty() ? "none" : faults[0]);
        }
    }
}

// A text marked to shrink prints a point smaller at a time until it fits.
TEST(PageCheck, ShrinkingTextsFitTheirElements) {
    const std::string text = "WMWMWMWMWMWMWMWMWMWMWMWMWMWM";
    const int size = SizeThatFits(Font(10), text, 1500);
    EXPECT_LT(size, 10);
    EXPECT_LE(MeasureFor(Font(size), kTextUnitsPerInch).Width(text), 1500);
    EXPECT_GT(MeasureFor(Font(size + 1), kTextUnitsPerInch).Width(text), 1500 * 0.985 - 2);
    EXPECT_EQ(SizeThatFits(Font(10), "Jude", 1500), 10);
    EXPECT_EQ(SizeThatFits(Font(10), std::string(200, 'W'), 1500), kSmallestShrunkSize);
}

}  // namespace
