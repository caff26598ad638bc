#include "platform/text/strings.h"

#include "platform/text/codepage.h"

#include <algorithm>
#include <cstring>

namespace fw {

std::string CLIP(std::string_view s) {
    std::size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ') --n;
    return std::string(s.substr(0, n));
}

std::string LEFT(std::string_view s) { return LEFT(s, s.size()); }

std::string LEFT(std::string_view s, std::size_t n) {
    std::size_t first = 0;
    while (first < s.size() && s[first] == ' ') ++first;
    std::string out(s.substr(first, n));
    out.resize(n, ' ');
    return out;
}

std::string SUB(std::string_view s, long start, long length) {
    if (length <= 0) return {};
    long from = start;
    long to = start + length;  // one past the last position wanted
    from = std::max(from, 1L);
    to = std::min(to, static_cast<long>(s.size()) + 1);
    if (from >= to) return {};
    return std::string(s.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from)));
}

std::size_t LEN(std::string_view s) { return s.size(); }

std::string UPPER(std::string_view s) { return UpperText(s); }
std::string LOWER(std::string_view s) { return LowerText(s); }

long INSTRING(std::string_view sub, std::string_view s, long step, long start) {
    if (sub.empty() || sub.size() > s.size()) return 0;
    if (step < 1) step = 1;
    if (start < 1) start = 1;
    const long last = static_cast<long>(s.size() - sub.size()) + 1;  // last position where sub fits
    for (long pos = start; pos <= last; pos += step) {
        if (std::memcmp(s.data() + pos - 1, sub.data(), sub.size()) == 0) return (pos - 1) / step + 1;
    }
    return 0;
}

std::string CENTER(std::string_view s, std::size_t width) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    std::string_view text = s.substr(b, std::min(e - b, width));
    const std::size_t pad = width - text.size();
    const std::size_t before = (pad + 1) / 2;
    std::string out(before, ' ');
    out.append(text);
    out.resize(width, ' ');
    return out;
}

std::string ALL(std::string_view s, std::size_t n) {
    if (s.empty()) return std::string(n, ' ');
    std::string out;
    out.reserve(n);
    while (out.size() < n) out.append(s.substr(0, n - out.size()));
    return out;
}

bool ISUPPER(unsigned char c) { return LowerByte(c) != c; }

bool ISLOWER(unsigned char c) {
    if (UpperByte(c) != c) return true;
    // Lower-case letters that Windows-1252 has no upper-case form for.
    return c == 0x83 || c == 0xAA || c == 0xB5 || c == 0xBA || c == 0xDF;
}

bool ISALPHA(unsigned char c) { return ISUPPER(c) || ISLOWER(c); }

bool ISDIGIT(unsigned char c) { return c >= '0' && c <= '9'; }

bool IsThumbSymbol(unsigned char c) {
    static constexpr std::string_view kSymbols = " \"@`!#$%&'()*+,-./:;=?[\\]^_|~\xA3";
    return c != 0 && kSymbols.find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace fw
