// @N numeric and @P pattern pictures.
#include "platform/text/numbers.h"
#include "platform/text/picture_parts.h"

#include <cmath>
#include <cstddef>

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

}  // namespace fw::picture
