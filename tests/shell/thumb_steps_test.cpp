#include "shell/thumb_steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace shell;

std::vector<double> NumericTable(double low, double high) {
    InitNumericScrollSteps(low, high);
    std::vector<double> t;
    for (int i = 0; i < 100; ++i) t.push_back(NextNumericScrollStep());
    return t;
}

std::vector<std::string> TextTable(std::string_view first, std::string_view last, std::size_t length, int flags) {
    InitTextScrollSteps(first, last, length, flags);
    std::vector<std::string> t;
    for (int i = 0; i < 100; ++i) t.push_back(NextTextScrollStep());
    return t;
}

TEST(NumericScrollSteps, StepEvenlyFromLowToHigh) {
    const auto up = NumericTable(1, 100);
    for (int i = 0; i < 100; ++i) EXPECT_DOUBLE_EQ(up[static_cast<std::size_t>(i)], i + 1);

    const auto down = NumericTable(100, 1);
    for (int i = 0; i < 100; ++i) EXPECT_DOUBLE_EQ(down[static_cast<std::size_t>(i)], 100 - i);

    const auto flat = NumericTable(7, 7);
    EXPECT_TRUE(std::all_of(flat.begin(), flat.end(), [](double v) { return v == 7; }));

    // The browse truncates to its key's integer type; the last entry is high exactly.
    const auto wide = NumericTable(0, 1000);
    EXPECT_EQ(static_cast<long>(wide[1]), 10);
    EXPECT_EQ(static_cast<long>(wide[50]), 505);
    EXPECT_EQ(wide[99], 1000);
    EXPECT_TRUE(std::is_sorted(wide.begin(), wide.end()));

    // A new initialisation starts the count again.
    InitNumericScrollSteps(5, 6);
    EXPECT_EQ(NextNumericScrollStep(), 5);
}

TEST(TextScrollSteps, DiscNumbersKeepTheirPrefixAndStepInBaseEleven) {
    const auto t = TextTable("0000000001", "0000009999", 10, thumb_chars::Digits);
    EXPECT_EQ(t[0], "0000000001");
    EXPECT_EQ(t[99], "0000009999");
    // "0001" and "9999" are 1465 and 14640 in base 11 ('0' is digit 1);
    // the step is 133, so entry 2 is 1598 = digits 1,2,2,3 = "0112".
    EXPECT_EQ(t[1], "0000000112");
    for (const auto& s : t) {
        EXPECT_EQ(s.size(), 10u);
        EXPECT_EQ(s.substr(0, 6), "000000");
    }
    EXPECT_TRUE(std::is_sorted(t.begin(), t.end()));
}

TEST(TextScrollSteps, UpperCaseUnlessLowerIsChosenToo) {
    const auto upper = TextTable("abba", "zz top", 40, thumb_chars::Upper);
    EXPECT_EQ(upper[0], "ABBA");
    EXPECT_EQ(upper[99], "ZZ T");
    const auto mixed = TextTable("abba", "zz top", 40, thumb_chars::Upper | thumb_chars::Lower);
    EXPECT_EQ(mixed[0], "abba");
    EXPECT_EQ(mixed[99], "zz t");
    for (const auto& s : upper) EXPECT_EQ(s.size(), 4u);
    EXPECT_TRUE(std::is_sorted(upper.begin() + 1, upper.end() - 1));
}

TEST(TextScrollSteps, CharactersOutsideTheSetAndEqualValues) {
    // A short last value is filled with the set's last character, so equal
    // values still step through what begins with them.
    const auto same = TextTable("SC8123", "SC8123", 15, thumb_chars::Upper | thumb_chars::Digits);
    for (const auto& s : same) EXPECT_EQ(s.substr(0, 6), "SC8123");
    EXPECT_EQ(same[0], "SC8123    ");
    EXPECT_EQ(same[99], "SC8123\xDE\xDE\xDE\xDE");  // Þ, the last upper-case letter

    // "-" is no digit and the fourth character is past the end: both count
    // as digit 0. "-47" is 0,5,8,0 = 693 and "947" 10,5,8,0 = 14003 in base
    // 11; the step is 134, so entry 2 is 827 = 0,6,9,2, written "0581" (digit
    // 0 as the set's first character).
    const auto dashed = TextTable("2-47", "2947", 4, thumb_chars::Digits);
    EXPECT_EQ(dashed[0], "2-47");
    EXPECT_EQ(dashed[1], "20581");
    EXPECT_EQ(dashed[99], "2947");
}

TEST(NameThumbTable, BlanksThenNinetyNineSortedStops) {
    EXPECT_EQ(NameThumbTable(1), "   ");
    EXPECT_EQ(NameThumbTable(2), "ALB");
    EXPECT_EQ(NameThumbTable(57), "MAR");
    EXPECT_EQ(NameThumbTable(100), "YOR");
    EXPECT_TRUE(std::is_sorted(kNameThumbTable.begin(), kNameThumbTable.end()));
    EXPECT_EQ(std::adjacent_find(kNameThumbTable.begin(), kNameThumbTable.end()), kNameThumbTable.end());
    for (auto e : kNameThumbTable) EXPECT_EQ(e.size(), 3u);
}

}  // namespace
