#pragma once
// DATE values: day numbers where day 4 is 1 January 1801 and 0 means no
// date. Conversions cover every date from 1 January 1801 to 31 December 2999.

namespace fw {

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

inline constexpr long kNoDate = 0;
inline constexpr long kFirstDayNumber = 4;       // 1 January 1801
inline constexpr long kLastDayNumber = 437929;   // 31 December 2999

// The day number of a calendar date; 0 when the date does not exist or lies
// outside the range.
long DATE(int month, int day, int year);
// The calendar date of a day number; all zero for 0 or a number out of range.
CivilDate CivilFromDayNumber(long date);
int DAY(long date);
int MONTH(long date);
int YEAR(long date);

// A two-digit year read in the year currentYear: from 00 to the current
// year's two digits plus 20 it is in the current century, otherwise in the
// previous one (in 2025: 00..45 give 2000..2045, 46..99 give 1946..1999).
int WindowedYear(int twoDigitYear, int currentYear);

}  // namespace fw
