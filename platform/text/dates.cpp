#include "platform/text/dates.h"

namespace fw {
namespace {

// Days since 1 January 1970 of a proleptic Gregorian date.
long DaysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

CivilDate CivilFromDays(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long y = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// Day 4 is 1 January 1801.
const long kEpoch = DaysFromCivil(1801, 1, 1) - kFirstDayNumber;

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

}  // namespace

long DATE(int month, int day, int year) {
    if (month < 1 || month > 12 || day < 1 || year < 1801 || year > 2999) return kNoDate;
    if (day > DaysInMonth(year, month)) return kNoDate;
    const long n = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpoch;
    return n;
}

CivilDate CivilFromDayNumber(long date) {
    if (date < kFirstDayNumber || date > kLastDayNumber) return {};
    return CivilFromDays(date + kEpoch);
}

int DAY(long date) { return CivilFromDayNumber(date).day; }
int MONTH(long date) { return CivilFromDayNumber(date).month; }
int YEAR(long date) { return CivilFromDayNumber(date).year; }

int WindowedYear(int twoDigitYear, int currentYear) {
    const int century = currentYear / 100 * 100;
    const int limit = currentYear % 100 + 20;
    return twoDigitYear <= limit ? century + twoDigitYear : century - 100 + twoDigitYear;
}

}  // namespace fw
