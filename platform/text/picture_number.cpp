// @N numeric and @P pattern pictures.
#include "platform/text/numbers.h"
#include "platform/text/picture_parts.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

namespace fw::picture {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

struct NumberPicture {
    std::string currencyBefore, currencyAfter;
    char sign = '-';          // '-' leading minus, '(' parentheses, 't' trailing minus
    char fill = ' ';          // ' ' blanks with grouping, '_' blanks, '0' zeros, '*' asterisks
    std::size_t size = 0;     // 0: as wide as needed
    int places = 0;
    bool blankWhenZero = false;
};

// Reads a currency symbol ("$" or "~text~") at p.
bool ReadCurrency(std::string_view pic, std::size_t& p, std::string& out) {
    if (p < pic.size() && pic[p] == '$') {
        out = "$";
        ++p;
        return true;
    }
    if (p < pic.size() && pic[p] == '~') {
        const auto end = pic.find('~', p + 1);
        if (end == std::string_view::npos) return false;
        out = std::string(pic.substr(p + 1, end - p - 1));
        p = end + 1;
        return true;
    }
    return false;
}

NumberPicture ParseNumber(std::string_view pic) {
    NumberPicture np;
    std::size_t p = 2;  // after "@N"
    ReadCurrency(pic, p, np.currencyBefore);
    if (p < pic.size() && (pic[p] == '-' || pic[p] == '(')) np.sign = pic[p++];
    if (p < pic.size() && (pic[p] == '_' || pic[p] == '*')) np.fill = pic[p++];
    else if (p + 1 < pic.size() && pic[p] == '0' && IsDigit(pic[p + 1])) np.fill = pic[p++];
    while (p < pic.size() && IsDigit(pic[p])) np.size = np.size * 10 + static_cast<std::size_t>(pic[p++] - '0');
    if (p < pic.size() && pic[p] == '.') {
        ++p;
        while (p < pic.size() && IsDigit(pic[p])) np.places = np.places * 10 + (pic[p++] - '0');
    }
    if (p < pic.size() && (pic[p] == '-' || pic[p] == ')')) {
        if (pic[p] == '-') np.sign = 't';
        ++p;
    }
    ReadCurrency(pic, p, np.currencyAfter);
    if (p < pic.size() && Upper(pic[p]) == 'B') np.blankWhenZero = true;
    if (np.places > 15) np.places = 15;
    return np;
}

std::string Grouped(const std::string& digits) {
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

struct PatternPicture {
    std::string_view pattern;
    bool blankWhenZero = false;
};

PatternPicture ParsePattern(std::string_view pic) {
    std::string_view body = pic.substr(2);  // after "@P"
    PatternPicture pp;
    if (body.size() >= 2 && Upper(body.back()) == 'B' && Upper(body[body.size() - 2]) == 'P') {
        pp.blankWhenZero = true;
        body.remove_suffix(2);
    } else if (!body.empty() && Upper(body.back()) == 'P') {
        body.remove_suffix(1);
    }
    pp.pattern = body;
    return pp;
}

bool IsDigitPosition(char c) { return c == '#' || c == '<'; }

}  // namespace

std::string FormatNumber(double value, std::string_view pic) {
    const NumberPicture np = ParseNumber(pic);
    std::string text = FixedText(value, np.places);
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) text.erase(0, 1);
    const bool zero = text.find_first_not_of("0.") == std::string::npos;
    if (zero && np.blankWhenZero) return std::string(np.size, ' ');

    const auto dot = text.find('.');
    std::string whole = text.substr(0, dot);
    const std::string fraction = dot == std::string::npos ? std::string() : text.substr(dot);
    const bool grouping = np.fill == ' ' || np.fill == '*';
    if (grouping) whole = Grouped(whole);

    std::string before = np.currencyBefore, after = fraction + np.currencyAfter;
    if (negative) {
        if (np.sign == '(') { before = "(" + before; after += ")"; }
        else if (np.sign == 't') after += "-";
        else before = "-" + before;
    }
    std::string out = before + whole + after;
    if (np.size == 0) return out;
    if (out.size() > np.size) return std::string(np.size, '#');
    const std::size_t pad = np.size - out.size();
    if (np.fill == '0') return before + std::string(pad, '0') + whole + after;
    if (np.fill == '*') return std::string(pad, '*') + out;
    return std::string(pad, ' ') + out;
}

double DeformatNumber(std::string_view text, std::string_view) {
    std::string digits;
    bool negative = false, point = false;
    for (char c : text) {
        if (IsDigit(c)) digits.push_back(c);
        else if (c == '.' && !point) { point = true; digits.push_back(c); }
        else if (c == '-' || c == '(') negative = true;
    }
    const double v = NumericValue(digits);
    return negative ? -v : v;
}

std::string FormatPattern(double value, std::string_view pic) {
    const PatternPicture pp = ParsePattern(pic);
    std::size_t positions = 0;
    for (char c : pp.pattern) positions += IsDigitPosition(c);
    std::string digits = FixedText(std::fabs(value), 0);
    if (digits == "0" && pp.blankWhenZero) return std::string(pp.pattern.size(), ' ');
    const bool overflow = digits.size() > positions;
    if (digits.size() < positions) digits.insert(0, positions - digits.size(), '0');

    std::string out;
    std::size_t d = 0;
    bool significant = false;
    for (char c : pp.pattern) {
        if (!IsDigitPosition(c)) { out.push_back(c); continue; }
        const char digit = overflow ? '#' : digits[d];
        ++d;
        if (digit != '0' || c == '#') significant = true;
        if (c == '#' || significant) out.push_back(digit);
    }
    out.resize(pp.pattern.size(), ' ');
    return out;
}

double DeformatPattern(std::string_view text, std::string_view) {
    std::string digits;
    for (char c : text)
        if (IsDigit(c)) digits.push_back(c);
    return NumericValue(digits);
}

namespace {

std::string_view Trimmed(std::string_view t) {
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    return t;
}

bool AllDigits(std::string_view t) {
    if (t.empty()) return false;
    for (char c : t)
        if (!IsDigit(c)) return false;
    return true;
}

// Digits, with "," between groups of three when grouping is allowed.
bool WholeDigits(std::string_view t, bool grouping) {
    if (t.find(',') == std::string_view::npos) return AllDigits(t);
    if (!grouping) return false;
    std::size_t start = 0;
    bool first = true;
    for (;;) {
        const std::size_t comma = t.find(',', start);
        const std::string_view group = t.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (!AllDigits(group) || (first ? group.size() > 3 : group.size() != 3)) return false;
        if (comma == std::string_view::npos) return true;
        first = false;
        start = comma + 1;
    }
}

}  // namespace

bool ReadNumber(std::string_view text, std::string_view pic, double& value) {
    const NumberPicture np = ParseNumber(pic);
    std::string_view t = Trimmed(text);
    bool negative = false;
    if (t.size() >= 2 && t.front() == '(' && t.back() == ')') {
        negative = true;
        t = Trimmed(t.substr(1, t.size() - 2));
    } else if (!t.empty() && t.front() == '-') {
        negative = true;
        t = Trimmed(t.substr(1));
    } else if (!t.empty() && t.back() == '-') {
        negative = true;
        t = Trimmed(t.substr(0, t.size() - 1));
    }
    if (!np.currencyBefore.empty() && t.substr(0, np.currencyBefore.size()) == np.currencyBefore)
        t.remove_prefix(np.currencyBefore.size());
    if (!np.currencyAfter.empty() && t.size() >= np.currencyAfter.size() &&
        t.substr(t.size() - np.currencyAfter.size()) == np.currencyAfter)
        t.remove_suffix(np.currencyAfter.size());
    const std::size_t dot = t.find('.');
    const std::string_view whole = t.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? std::string_view() : t.substr(dot + 1);
    if (dot != std::string_view::npos && (np.places == 0 || !AllDigits(fraction) ||
                                          fraction.size() > static_cast<std::size_t>(np.places)))
        return false;
    if (!WholeDigits(whole, np.fill == ' ' || np.fill == '*')) return false;
    std::string digits;
    for (char c : whole)
        if (IsDigit(c)) digits.push_back(c);
    if (!fraction.empty()) digits += "." + std::string(fraction);
    value = NumericValue(digits);
    if (negative) value = -value;
    return true;
}

void NumberLimits(std::string_view pic, double& low, double& high) {
    const NumberPicture np = ParseNumber(pic);
    low = -1e300;
    high = 1e300;
    if (np.size == 0) return;
    const double unit = std::pow(10.0, -np.places);
    const auto fits = [&](double v) { return FormatNumber(v, pic) != std::string(np.size, '#'); };
    high = 0;
    for (int digits = 1; digits <= 15; ++digits) {
        const double v = std::pow(10.0, digits) - unit;
        if (!fits(v)) break;
        high = v;
    }
    low = 0;
    for (int digits = 1; digits <= 15; ++digits) {
        const double v = -(std::pow(10.0, digits) - unit);
        if (!fits(v)) break;
        low = v;
    }
}

bool ReadPatternNumber(std::string_view text, std::string_view, double& value) {
    const std::string_view t = Trimmed(text);
    if (!AllDigits(t)) return false;
    value = NumericValue(std::string(t));
    return true;
}

void PatternLimits(std::string_view pic, double& low, double& high) {
    const PatternPicture pp = ParsePattern(pic);
    int positions = 0;
    for (char c : pp.pattern) positions += IsDigitPosition(c);
    low = 0;
    high = std::pow(10.0, std::min(positions, 15)) - 1;
}

}  // namespace fw::picture
