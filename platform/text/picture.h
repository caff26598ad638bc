#pragma once
// FORMAT and DEFORMAT with the framework's pictures (@N, @P, @S, @D, @T ...).
//
// @N[$][-|(][0|_|*]size[.places][-|)][$][B]
//     A number right-aligned in size characters (no size: as wide as needed),
//     rounded half away from zero to places decimals. Groups thousands with
//     "," unless the fill is "0" (leading zeros) or "_" (leading blanks, no
//     grouping); "*" fills with asterisks. A number that does not fit gives
//     size "#" characters. B: blank when zero.
// @P<pattern>P[B]
//     "#" is a digit always shown, "<" a digit left out while it is a
//     leading zero; other characters are shown as they stand. The digits
//     shown are left-aligned: the text is padded at the end to the pattern's
//     width ("@P<<<<<<PB" of 12 is "12    ", "@PPage: <<<#P" of 7 is
//     "Page: 7   "). B: blank when zero.
// @Sn  A text blank-padded or cut to n characters.
// @D1  mm/dd/yy, zero-padded ("03/07/25"). @D2 mm/dd/yyyy.
// @D17 The system's short date, through the locale (kShortDatePicture);
//      read back in the locale's order of day, month and year, any
//      separator, one-digit fields and two- or four-digit years allowed.
// @T1  hh:mm, @T4 hh:mm:ss, from a time value (hundredths since midnight
//      plus 1; a value of 0 or less is blank). Hours past 24 keep counting.
// A date or time that is 0 or out of range shows as the empty text.
//
// Picture letters may be lower case ("@n6", "@s40").

#include <string>
#include <string_view>

namespace fw {

// The framework's picture for the system's short date.
inline constexpr std::string_view kShortDatePicture = "@D17";

// A number or date/time value shown through a picture ("@N3", "@D1", "@T4").
std::string FORMAT(double value, std::string_view picture);
// A text shown through a picture ("@s40", "@P<<<<<<PB").
std::string FORMAT(std::string_view value, std::string_view picture);
// The value behind a text shown through a picture; a number's plain decimal text.
// Dates give their day number (0 for a text that is not a date), times
// their time value; a two-digit year follows the century window of dates.h
// around TODAY(). @S gives the text unchanged.
std::string DEFORMAT(std::string_view text, std::string_view picture);
// DEFORMAT without a picture: keeps the digits, the first decimal point, the
// first "e" or "E", a minus sign that stands first or right after that
// letter and a plus sign right after that letter, and reads the rest as a
// decimal number ("CB101-1" gives "1011", "A3" gives "3", nothing left gives "0").
std::string DEFORMAT(std::string_view text);

// Whether the picture shows numbers (@N, @P).
bool IsNumberPicture(std::string_view picture);
// A number as typed for a number picture, read strictly: blanks around, a
// minus sign (in front, behind, or parentheses), the picture's currency
// text, digits with thousands commas only where the picture groups them,
// and a decimal point only with at most the picture's decimal places
// (@P: digits only). False for anything else, the empty text included;
// nothing is ever read as another number. Without a number picture: a
// plain decimal number.
bool ReadPictureNumber(std::string_view text, std::string_view picture, double& value);
// The lowest and highest values a number picture shows whole (without a
// size: no limit, +-1e300).
struct PictureLimits {
    double low;
    double high;
};
PictureLimits NumberPictureLimits(std::string_view picture);

// DEFORMAT as a number.
double DeformatValue(std::string_view text, std::string_view picture);
double DeformatValue(std::string_view text);

}  // namespace fw
