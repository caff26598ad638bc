#include "shell/thumb_steps.h"

#include "platform/text/strings.h"

#include <algorithm>
#include <cstdint>

namespace shell {
namespace {

struct NumericSteps {
    double low = 0;
    double high = 0;
    double step = 0;
    int counter = 0;
};

// The four stepped characters are read as numbers in base (set size + 1),
// up to 256: 64-bit, so that no set overflows.
struct TextSteps {
    std::string charset;
    std::string prefix;
    std::string lowText;
    std::string highText;
    std::int64_t low = 0;
    std::int64_t high = 0;
    std::int64_t step = 0;
    int counter = 0;
};

constexpr int kSteppedChars = 4;

NumericSteps& Numeric() {
    static NumericSteps s;
    return s;
}

TextSteps& Text() {
    static TextSteps s;
    return s;
}

std::string CharacterSet(int flags) {
    std::string set;
    for (int code = 1; code <= 255; ++code) {
        const auto c = static_cast<unsigned char>(code);
        const bool in = ((flags & thumb_chars::Digits) && fw::ISDIGIT(c)) ||
                        ((flags & thumb_chars::Symbols) && fw::IsThumbSymbol(c)) ||
                        ((flags & thumb_chars::Upper) &&
                         (fw::ISUPPER(c) || ((flags & thumb_chars::Lower) && fw::ISLOWER(c))));
        if (in) set.push_back(static_cast<char>(c));
    }
    return set;
}

std::int64_t ReadNumber(std::string_view text, const std::string& set) {
    const std::int64_t base = static_cast<std::int64_t>(set.size()) + 1;
    std::int64_t n = 0;
    for (int i = 0; i < kSteppedChars; ++i) {
        std::int64_t digit = 0;
        if (static_cast<std::size_t>(i) < text.size()) {
            const auto at = set.find(text[static_cast<std::size_t>(i)]);
            if (at != std::string::npos) digit = static_cast<std::int64_t>(at) + 1;
        }
        n = n * base + digit;
    }
    return n;
}

std::string WriteNumber(std::int64_t n, const std::string& set) {
    const std::int64_t base = static_cast<std::int64_t>(set.size()) + 1;
    std::string out(kSteppedChars, ' ');
    for (int i = kSteppedChars - 1; i >= 0; --i) {
        const std::int64_t digit = n % base;
        n /= base;
        out[static_cast<std::size_t>(i)] = set[static_cast<std::size_t>(digit == 0 ? 0 : digit - 1)];
    }
    return out;
}

}  // namespace

void InitNumericScrollSteps(double low, double high) {
    Numeric() = {low, high, (high - low) / 99, 0};
}

double NextNumericScrollStep() {
    NumericSteps& s = Numeric();
    ++s.counter;
    if (s.counter == 1) return s.low;
    if (s.counter == 100) return s.high;
    return s.low + (s.counter - 1) * s.step;
}

void InitTextScrollSteps(std::string_view first, std::string_view last, std::size_t length, int flags) {
    TextSteps s;
    s.charset = CharacterSet(flags);
    // Both values as fixed texts of the given length; a shorter last value is
    // filled with the set's last character one past the length, so that it
    // sorts after every value it begins.
    std::string from(first.substr(0, std::min(length, first.size())));
    from.resize(length, ' ');
    std::string to(last.substr(0, std::min(length, last.size())));
    const std::string clipped = fw::CLIP(to);
    if (clipped.size() < length && !s.charset.empty())
        to = clipped + std::string(length + 1 - clipped.size(), s.charset.back());

    std::size_t p = 0;
    while (p < length && p < from.size() && p < to.size() && from[p] == to[p]) ++p;
    s.prefix = from.substr(0, p);
    s.lowText = fw::SUB(from, static_cast<long>(p) + 1, kSteppedChars);
    s.highText = fw::SUB(to, static_cast<long>(p) + 1, kSteppedChars);
    if ((flags & thumb_chars::Upper) && !(flags & thumb_chars::Lower)) {
        s.lowText = fw::UPPER(s.lowText);
        s.highText = fw::UPPER(s.highText);
    }
    s.low = ReadNumber(s.lowText, s.charset);
    s.high = ReadNumber(s.highText, s.charset);
    s.step = (s.high - s.low) / 99;
    Text() = std::move(s);
}

std::string NextTextScrollStep() {
    TextSteps& s = Text();
    ++s.counter;
    if (s.counter == 1) return s.prefix + s.lowText;
    if (s.counter == 100) return s.prefix + s.highText;
    // No character class chosen: nothing to step through.
    if (s.charset.empty()) return s.prefix + s.lowText;
    return s.prefix + WriteNumber(s.low + s.step * (s.counter - 1), s.charset);
}

}  // namespace shell
