#pragma once
// Numbers and their texts, with the framework's decimal rules: a division
// by zero gives 0, percentages drop their fraction, ratios keep a fixed
// number of decimal places, and a number's text is plain decimal.

#include <string>
#include <string_view>
#include <type_traits>

namespace fw {

// The numeric value of a text: leading and trailing blanks are ignored; a
// well-formed decimal number (optional sign, digits, optional point and
// fraction, at least one digit) gives its value; anything else gives 0
// ("SC8123" gives 0, unlike DEFORMAT, which keeps its digits).
double NumericValue(std::string_view text);
// Whether the text is such a well-formed number.
bool IsNumericText(std::string_view text);

// Plain decimal text of a number: no padding, no grouping, no exponent;
// "-" in front of a negative number; at most 15 significant digits, trailing
// fractional zeros dropped ("12", "-3", "0.25", "1011").
std::string NumberText(double value);
std::string NumberText(long long value);
template <class T>
    requires std::is_integral_v<T>
std::string NumberText(T value) { return NumberText(static_cast<long long>(value)); }
// The value with exactly places decimal places (0 to 15), rounded half away
// from zero as decimal arithmetic would: FixedText(2.675, 2) is "2.68".
// No grouping; "-" in front of a negative result.
std::string FixedText(double value, int places);

// a / b, or 0 when b is 0.
double DivideOrZero(double a, double b);
// part * 100 / whole in whole numbers, fraction dropped; 0 when whole is 0.
long long PercentOf(long long part, long long whole);
// a / b kept to places decimal places (rounded half away from zero);
// 0 when b is 0. Computed exactly from the two whole numbers.
double DecimalRatio(long long a, long long b, int places);
// The value as a decimal number rounded half away from zero to places
// decimal places. Rounds the value's shortest decimal text, so 2.675 gives
// 2.68 as decimal arithmetic would.
double RoundDecimal(double value, int places);

}  // namespace fw
