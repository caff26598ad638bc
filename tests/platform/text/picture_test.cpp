#include "platform/text/clock.h"
#include "platform/text/dates.h"
#include "platform/text/picture.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

struct NumberCase { double value; const char* picture; const char* want; };

TEST(Picture, NumbersThroughN) {
    const NumberCase cases[] = {
        {5, "@N3", "  5"}, {25, "@N3", " 25"}, {100, "@N3", "100"}, {0, "@N3", "  0"},
        {1000, "@N3", "###"},                             // does not fit
        {1234567, "@N10", " 1,234,567"}, {0, "@N10", "         0"}, {999, "@N10", "       999"},
        {1234, "@n6", " 1,234"}, {123456, "@n6", "######"},  // grouping makes it 7 wide
        {-3, "@N3", " -3"}, {-1234, "@N8", "  -1,234"}, {-5, "@N(6)", "   (5)"}, {-5, "@N6-", "    5-"},
        {12.345, "@N_8.2", "   12.35"}, {1234.5, "@N_8.2", " 1234.50"}, {0, "@N_8.2", "    0.00"},
        {-0.001, "@N_8.2", "    0.00"}, {123456.78, "@N_8.2", "########"},
        {42, "@N05", "00042"}, {-42, "@N05", "-0042"}, {42, "@N*6", "****42"},
        {0, "@N6B", "      "}, {7, "@N6B", "     7"}, {0.001, "@N6.2B", "      "},
        {12.5, "@N$8.2", "  $12.50"}, {1234567, "@N", "1,234,567"}, {2.5, "@N3", "  3"},
        {-2.5, "@N3", " -3"},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::FORMAT(c.value, c.picture), c.want) << c.value << " " << c.picture;
}

TEST(Picture, Patterns) {
    const NumberCase cases[] = {
        {12, "@P<<<<<<PB", "12    "}, {0, "@P<<<<<<PB", "      "}, {123456, "@P<<<<<<PB", "123456"},
        {1234567, "@P<<<<<<PB", "######"}, {1, "@P<<<<<<PB", "1     "}, {-12, "@P<<<<<<PB", "12    "},
        {7, "@PPage: <<<#P", "Page: 7   "}, {0, "@PPage: <<<#P", "Page: 0   "},
        {1234, "@PPage: <<<#P", "Page: 1234"}, {1005, "@pPage: <<<#p", "Page: 1005"},
        {42, "@P###P", "042"}, {5, "@P#<<P", "005"},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::FORMAT(c.value, c.picture), c.want) << c.value << " " << c.picture;
}

TEST(Picture, Strings) {
    EXPECT_EQ(fw::FORMAT("The Rose", "@s10"), "The Rose  ");
    EXPECT_EQ(fw::FORMAT("The Rose", "@S4"), "The ");
    EXPECT_EQ(fw::FORMAT("", "@s3"), "   ");
    EXPECT_EQ(fw::FORMAT(std::string(300, 'a'), "@s255"), std::string(255, 'a'));
    EXPECT_EQ(fw::FORMAT("  x", "@S"), "  x");
    EXPECT_EQ(fw::FORMAT("x", ""), "x");
    EXPECT_EQ(fw::FORMAT(12.0, "@s4"), "12  ");
    EXPECT_EQ(fw::FORMAT(std::string_view("12"), "@N4"), "  12");  // a text through a number picture
    EXPECT_EQ(fw::DEFORMAT("  ab  ", "@s6"), "  ab  ");
}

TEST(Picture, DateD1) {
    struct Case { long day; const char* want; };
    const Case cases[] = {
        {fw::DATE(3, 7, 2025), "03/07/25"}, {fw::DATE(12, 31, 1999), "12/31/99"},
        {fw::DATE(2, 29, 2000), "02/29/00"}, {fw::DATE(1, 1, 1801), "01/01/01"}, {4, "01/01/01"},
        {0, ""}, {-5, ""}, {3, ""}, {fw::kLastDayNumber + 1, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::FORMAT(static_cast<double>(c.day), "@D1"), c.want) << c.day;
    EXPECT_EQ(fw::FORMAT(static_cast<double>(fw::DATE(3, 7, 2025)), "@D2"), "03/07/2025");
    EXPECT_EQ(fw::FORMAT(1e300, "@D1"), "");
    EXPECT_EQ(fw::FORMAT(1e300, "@T4"), "");
}

TEST(Picture, DateD1ReadsBackWithTheCenturyWindow) {
    fw::FixClock(fw::DATE(6, 1, 2025), 0);
    struct Case { const char* text; long want; };
    const Case cases[] = {
        {"03/07/25", fw::DATE(3, 7, 2025)},
        {"3/7/25", fw::DATE(3, 7, 2025)},     // one-digit fields
        {"12/31/45", fw::DATE(12, 31, 2045)}, // last year of this century's part of the window
        {"01/01/46", fw::DATE(1, 1, 1946)},   // first of the previous century's
        {"12/31/99", fw::DATE(12, 31, 1999)},
        {"02/29/00", fw::DATE(2, 29, 2000)},
        {"2/29/2024", fw::DATE(2, 29, 2024)}, // a four-digit year is taken as it stands
        {"02/29/01", 0}, {"13/01/25", 0}, {"", 0}, {"03/07", 0}, {"abc", 0}, {"3/7/125", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::DeformatValue(c.text, "@D1"), c.want) << c.text;
        EXPECT_EQ(fw::DEFORMAT(c.text, "@D1"), std::to_string(c.want)) << c.text;
    }
    for (long day : {fw::DATE(1, 1, 1946), fw::DATE(12, 31, 2045), fw::DATE(2, 29, 2024)})
        EXPECT_EQ(fw::DeformatValue(fw::FORMAT(static_cast<double>(day), "@D1"), "@D1"), day);
    fw::ResetClock();
}

TEST(Picture, SystemShortDateThroughTheLocale) {
    fw::FixClock(fw::DATE(6, 1, 2025), 0);
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));  // M/d/yy
    const long day = fw::DATE(3, 7, 2025);
    EXPECT_EQ(fw::FORMAT(static_cast<double>(day), fw::kShortDatePicture), "3/7/25");
    EXPECT_EQ(fw::DeformatValue("3/7/25", fw::kShortDatePicture), day);
    EXPECT_EQ(fw::DeformatValue("3/7/2025", fw::kShortDatePicture), day);
    EXPECT_EQ(fw::DeformatValue("1/1/46", fw::kShortDatePicture), fw::DATE(1, 1, 1946));
    EXPECT_EQ(fw::DeformatValue("not a date", fw::kShortDatePicture), 0);
    EXPECT_EQ(fw::DeformatValue("", fw::kShortDatePicture), 0);
    EXPECT_EQ(fw::FORMAT(0.0, fw::kShortDatePicture), "");

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));  // dd.MM.yy
    EXPECT_EQ(fw::FORMAT(static_cast<double>(day), fw::kShortDatePicture), "07.03.25");
    EXPECT_EQ(fw::DeformatValue("07.03.25", fw::kShortDatePicture), day);
    EXPECT_EQ(fw::DeformatValue("7.3.2025", fw::kShortDatePicture), day);  // typed loosely
    EXPECT_EQ(fw::DeformatValue("31.12.45", fw::kShortDatePicture), fw::DATE(12, 31, 2045));
    EXPECT_EQ(fw::DeformatValue("01.01.46", fw::kShortDatePicture), fw::DATE(1, 1, 1946));
    EXPECT_EQ(fw::DeformatValue("3/7/25 ", fw::kShortDatePicture), fw::DATE(7, 3, 2025));  // day first here

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));  // dd/MM/yyyy
    EXPECT_EQ(fw::FORMAT(static_cast<double>(day), fw::kShortDatePicture), "07/03/2025");
    EXPECT_EQ(fw::DeformatValue("07/03/2025", fw::kShortDatePicture), day);
    EXPECT_EQ(fw::DeformatValue("7/3/25", fw::kShortDatePicture), day);     // two-digit year typed
    EXPECT_EQ(fw::DeformatValue("29/02/2023", fw::kShortDatePicture), 0);
    QLocale::setDefault(saved);
    fw::ResetClock();
}

TEST(Picture, TimeT4) {
    struct Case { double value; const char* picture; const char* want; };
    const Case cases[] = {
        {1, "@T4", "00:00:00"}, {101, "@T4", "00:00:01"}, {100, "@T4", "00:00:00"},  // one hundredth behind
        {360001, "@T4", "01:00:00"}, {8640000, "@T4", "23:59:59"}, {9000001, "@T4", "25:00:00"},
        {0, "@T4", ""}, {-500, "@T4", ""}, {4500001, "@T1", "12:30"},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::FORMAT(c.value, c.picture), c.want) << c.value;
    EXPECT_EQ(fw::DeformatValue("01:00:00", "@T4"), 360001);
    EXPECT_EQ(fw::DeformatValue("12:30", "@T1"), 4500001);
    EXPECT_EQ(fw::DeformatValue("12:61:00", "@T4"), 0);
}

TEST(Picture, DeformatWithNumberPictures) {
    struct Case { const char* text; const char* picture; const char* want; };
    const Case cases[] = {
        {" 1,234,567", "@N10", "1234567"}, {"   12.35", "@N_8.2", "12.35"}, {"  -1,234", "@N8", "-1234"},
        {"   (5)", "@N(6)", "-5"}, {"      ", "@N6B", "0"}, {"12    ", "@P<<<<<<PB", "12"},
        {"Page: 7   ", "@PPage: <<<#P", "7"},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::DEFORMAT(c.text, c.picture), c.want) << c.text;
}

TEST(Picture, DeformatWithoutPicture) {
    struct Case { const char* text; const char* want; };
    const Case cases[] = {
        {"CB101-1", "1011"}, {"A3", "3"}, {"12", "12"}, {"", "0"}, {"SC", "0"}, {"-5", "-5"},
        {"A-5", "5"},            // a minus sign counts only first
        {"1.2.3", "1.23"},       // only the first point
        {"2e3", "2000"}, {"2E-2", "0.02"}, {"1e+2x", "100"}, {"+5", "5"}, {"CU-12.5kg", "12.5"},
        {"SC8123", "8123"},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::DEFORMAT(c.text), c.want) << c.text;
}

}  // namespace
