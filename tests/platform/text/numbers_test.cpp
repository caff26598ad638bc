#include "platform/text/numbers.h"
#include "platform/text/picture.h"

#include <gtest/gtest.h>

namespace {

TEST(Numbers, NumericValueOfWellFormedTextsOnly) {
    struct Case { const char* text; double want; };
    const Case cases[] = {
        {"123", 123}, {"  42  ", 42}, {"-7", -7}, {"+7", 7}, {"1.5", 1.5}, {".25", 0.25}, {"3.", 3},
        {"000123456789012", 123456789012.0},  // header characters 1-15
        {"SC8123", 0}, {"12a", 0}, {"1 2", 0}, {"", 0}, {"   ", 0}, {"-", 0}, {".", 0}, {"1.2.3", 0},
        {"1e3", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(fw::NumericValue(c.text), c.want) << c.text;
    // The two readings of a disc ID differ on purpose.
    EXPECT_EQ(fw::NumericValue("SC8123"), 0);
    EXPECT_EQ(fw::DeformatValue("SC8123"), 8123);
}

TEST(Numbers, PlainDecimalText) {
    struct Case { double v; const char* want; };
    const Case cases[] = {
        {0, "0"}, {-0.0, "0"}, {12, "12"}, {-3, "-3"}, {0.25, "0.25"}, {-0.5, "-0.5"},
        {0.1 + 0.2, "0.3"}, {1011, "1011"}, {4294967295.0, "4294967295"}, {1e-5, "0.00001"},
        {123456.789, "123456.789"},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::NumberText(c.v), c.want) << c.v;
    EXPECT_EQ(fw::NumberText(90), "90");
    EXPECT_EQ(fw::NumberText(-2147483647L - 1), "-2147483648");
    EXPECT_EQ(fw::NumberText(static_cast<unsigned short>(65535)), "65535");
}

TEST(Numbers, FixedTextRoundsAsDecimals) {
    struct Case { double v; int places; const char* want; };
    const Case cases[] = {
        {2.675, 2, "2.68"}, {1.005, 2, "1.01"}, {-2.5, 0, "-3"}, {2.5, 0, "3"}, {2.4999, 0, "2"},
        {-0.004, 2, "0.00"}, {9.999, 2, "10.00"}, {0, 2, "0.00"}, {12, 0, "12"}, {0.125, 2, "0.13"},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::FixedText(c.v, c.places), c.want) << c.v;
    EXPECT_DOUBLE_EQ(fw::RoundDecimal(2.675, 2), 2.68);
}

TEST(Numbers, DivisionByZeroAndPercentages) {
    EXPECT_EQ(fw::DivideOrZero(5, 0), 0);
    EXPECT_EQ(fw::DivideOrZero(5, 2), 2.5);
    struct Case { long long part, whole, want; };
    const Case cases[] = {
        {0, 20, 0}, {1, 20, 5}, {19, 20, 95}, {20, 20, 100}, {25, 20, 125},  // callers cap at 100
        {1, 3, 33}, {2, 3, 66}, {5, 0, 0}, {999999999999LL, 1000000000000LL, 99},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::PercentOf(c.part, c.whole), c.want) << c.part << "/" << c.whole;
}

TEST(Numbers, RatiosKeepFourDecimals) {
    EXPECT_DOUBLE_EQ(fw::DecimalRatio(4, 3, 4), 1.3333);
    EXPECT_DOUBLE_EQ(fw::DecimalRatio(2, 3, 4), 0.6667);
    EXPECT_DOUBLE_EQ(fw::DecimalRatio(600, 300, 4), 2.0);
    EXPECT_DOUBLE_EQ(fw::DecimalRatio(-1, 8, 2), -0.13);
    EXPECT_EQ(fw::DecimalRatio(1, 0, 4), 0);
}

}  // namespace
