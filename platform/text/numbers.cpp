#include "platform/text/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fw {
namespace {

__extension__ typedef __int128 Int128;

// Splits the shortest round-trip fixed text of |value| into integer and
// fraction digits.
void ShortestDigits(double value, std::string& whole, std::string& fraction) {
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed);
    std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    const auto dot = text.find('.');
    whole = std::string(text.substr(0, dot));
    fraction = dot == std::string_view::npos ? std::string() : std::string(text.substr(dot + 1));
}

// Adds one to a string of decimal digits.
void Increment(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') { ++digits[i]; return; }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

bool AllZero(std::string_view digits) { return digits.find_first_not_of('0') == std::string_view::npos; }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

bool IsNumericText(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    bool digit = false, point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') digit = true;
        else if (c == '.' && !point) point = true;
        else return false;
    }
    return digit;
}

double NumericValue(std::string_view text) {
    if (!IsNumericText(text)) return 0;
    text = TrimBlanks(text);
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::string digits(text);
    if (digits.front() == '.') digits.insert(digits.begin(), '0');
    double v = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), v);
    return negative ? -v : v;
}

std::string NumberText(long long value) { return std::to_string(value); }

std::string NumberText(double value) {
    if (!std::isfinite(value)) return "0";
    if (value == std::trunc(value) && std::fabs(value) < 9.0e18) return NumberText(static_cast<long long>(value));
    // 15 significant digits, written out without an exponent.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    std::string mantissa;
    for (const char* p = buf; *p && *p != 'e'; ++p)
        if (*p != '.') mantissa.push_back(*p);
    const int exponent = std::atoi(std::strchr(buf, 'e') + 1);
    std::string whole, fraction;
    if (exponent >= 0) {
        const auto n = static_cast<std::size_t>(exponent) + 1;
        if (mantissa.size() < n) mantissa.append(n - mantissa.size(), '0');
        whole = mantissa.substr(0, n);
        fraction = mantissa.substr(n);
    } else {
        whole = "0";
        fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
    }
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    std::string out = (value < 0 && !(AllZero(whole) && fraction.empty())) ? "-" : "";
    out += whole;
    if (!fraction.empty()) out += "." + fraction;
    return out;
}

std::string FixedText(double value, int places) {
    if (!std::isfinite(value)) value = 0;
    if (places < 0) places = 0;
    if (places > 15) places = 15;
    std::string whole, fraction;
    ShortestDigits(value, whole, fraction);
    const auto p = static_cast<std::size_t>(places);
    const bool up = fraction.size() > p && fraction[p] >= '5';
    fraction.resize(p, '0');
    if (up) {
        std::string all = whole + fraction;
        Increment(all);
        whole = all.substr(0, all.size() - p);
        fraction = all.substr(all.size() - p);
    }
    std::string out = (value < 0 && !(AllZero(whole) && AllZero(fraction))) ? "-" : "";
    out += whole;
    if (p > 0) out += "." + fraction;
    return out;
}

double RoundDecimal(double value, int places) {
    const std::string text = FixedText(value, places);
    double v = 0;
    const char* b = text.data();
    const bool negative = *b == '-';
    if (negative) ++b;
    std::from_chars(b, text.data() + text.size(), v);
    return negative ? -v : v;
}

double DivideOrZero(double a, double b) { return b == 0 ? 0 : a / b; }

long long PercentOf(long long part, long long whole) {
    if (whole == 0) return 0;
    return static_cast<long long>(static_cast<Int128>(part) * 100 / whole);
}

double DecimalRatio(long long a, long long b, int places) {
    if (b == 0) return 0;
    if (places < 0) places = 0;
    if (places > 15) places = 15;
    Int128 scale = 1;
    for (int i = 0; i < places; ++i) scale *= 10;
    Int128 num = static_cast<Int128>(a) * scale;
    Int128 den = b;
    const bool negative = (num < 0) != (den < 0);
    if (num < 0) num = -num;
    if (den < 0) den = -den;
    Int128 q = (2 * num + den) / (2 * den);  // half away from zero
    const double r = static_cast<double>(q) / static_cast<double>(scale);
    return negative ? -r : r;
}

}  // namespace fw
