#include "platform/text/clock.h"
#include "platform/text/dates.h"

#include <gtest/gtest.h>

namespace {

TEST(Dates, DayNumbersOfKnownDates) {
    struct Case { int m, d, y; long day; };
    const Case cases[] = {
        {1, 1, 1801, 4},
        {1, 2, 1801, 5},
        {2, 28, 1900, 36221},
        {3, 1, 1900, 36222},   // 1900 is no leap year
        {2, 29, 2000, 72746},  // 2000 is
        {2, 29, 2024, 81512},
        {1, 1, 1970, 61730},
        {12, 31, 2999, 437929},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::DATE(c.m, c.d, c.y), c.day) << c.y << "-" << c.m << "-" << c.d;
        const fw::CivilDate back = fw::CivilFromDayNumber(c.day);
        EXPECT_EQ(back.year, c.y);
        EXPECT_EQ(back.month, c.m);
        EXPECT_EQ(back.day, c.d);
    }
    EXPECT_EQ(fw::DATE(12, 31, 2999), fw::kLastDayNumber);
}

TEST(Dates, InvalidAndOutOfRange) {
    struct Case { int m, d, y; };
    const Case cases[] = {{2, 29, 1900}, {2, 30, 2024}, {13, 1, 2000}, {0, 1, 2000}, {4, 31, 2000},
                          {1, 0, 2000}, {12, 31, 1800}, {1, 1, 3000}};
    for (const auto& c : cases) EXPECT_EQ(fw::DATE(c.m, c.d, c.y), 0) << c.y << "-" << c.m << "-" << c.d;
    for (long day : {0L, 3L, -1L, fw::kLastDayNumber + 1}) {
        EXPECT_EQ(fw::YEAR(day), 0) << day;
        EXPECT_EQ(fw::MONTH(day), 0) << day;
        EXPECT_EQ(fw::DAY(day), 0) << day;
    }
}

TEST(Dates, EveryDayRoundTrips) {
    long expected = fw::kFirstDayNumber;
    for (long day = fw::kFirstDayNumber; day <= fw::kLastDayNumber; ++day, ++expected) {
        const fw::CivilDate c = fw::CivilFromDayNumber(day);
        ASSERT_EQ(fw::DATE(c.month, c.day, c.year), expected);
    }
}

TEST(Dates, TwoDigitYearWindow) {
    struct Case { int yy, now, want; };
    const Case cases[] = {
        {0, 2025, 2000}, {45, 2025, 2045}, {46, 2025, 1946}, {99, 2025, 1999},
        {25, 2025, 2025}, {80, 2060, 2080}, {81, 2060, 1981}, {99, 2085, 2099},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::WindowedYear(c.yy, c.now), c.want) << c.yy << " in " << c.now;
}

TEST(Clock, FixedAndCustomSources) {
    fw::FixClock(fw::DATE(3, 14, 2025), 12 * 360000);
    EXPECT_EQ(fw::TODAY(), fw::DATE(3, 14, 2025));
    EXPECT_EQ(fw::CLOCK(), 4320000);

    long t = 100;
    fw::SetClockSource([&] { return fw::ClockReading{fw::DATE(1, 1, 2000), t += 50}; });
    EXPECT_EQ(fw::CLOCK(), 150);
    EXPECT_EQ(fw::CLOCK(), 200);

    fw::ResetClock();
    const fw::ClockReading now = fw::SystemClock();
    EXPECT_GE(fw::TODAY(), now.date);
    EXPECT_GE(fw::YEAR(fw::TODAY()), 2024);
    EXPECT_GE(fw::CLOCK(), 0);
    EXPECT_LT(fw::CLOCK(), 8640000);
}

}  // namespace
