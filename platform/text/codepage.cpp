#include "platform/text/codepage.h"

#include <QList>
#include <array>
#include <cstdio>

namespace fw {
namespace {

using namespace codepage_tables;

// Reverse lookup of a 256-entry table: Unicode code unit -> byte, or -1.
struct Reverse {
    std::array<int, 65536> map;
    explicit Reverse(const char16_t (&t)[256]) {
        map.fill(-1);
        for (int b = 255; b >= 0; --b) map[t[b]] = b;
    }
    int operator()(char32_t u) const { return u < 65536 ? map[u] : -1; }
};

const Reverse& FromUnicode1252() { static const Reverse r(kCp1252ToUnicode); return r; }
const Reverse& FromUnicode437() { static const Reverse r(kCp437ToUnicode); return r; }

std::string_view ClipBlanks(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ') --n;
    return s.substr(0, n);
}

}  // namespace

std::string UpperText(std::string_view s) {
    std::string out(s);
    for (auto& c : out) c = static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
    return out;
}

std::string LowerText(std::string_view s) {
    std::string out(s);
    for (auto& c : out) c = static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
    return out;
}

int CompareFolded(std::string_view a, std::string_view b) {
    a = ClipBlanks(a);
    b = ClipBlanks(b);
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int x = UpperByte(static_cast<unsigned char>(a[i]));
        const int y = UpperByte(static_cast<unsigned char>(b[i]));
        if (x != y) return x - y;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

QString AnsiToQString(std::string_view ansi) {
    QString out;
    out.resize(static_cast<qsizetype>(ansi.size()));
    for (size_t i = 0; i < ansi.size(); ++i)
        out[static_cast<qsizetype>(i)] = QChar(kCp1252ToUnicode[static_cast<unsigned char>(ansi[i])]);
    return out;
}

std::string QStringToAnsi(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    const auto& rev = FromUnicode1252();
    for (char32_t u : text.toUcs4()) {
        const int b = rev(u);
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

std::string UnstorableCharacters(const QString& text) {
    std::string out;
    QList<char32_t> seen;
    const auto& rev = FromUnicode1252();
    for (char32_t u : text.toUcs4()) {
        if (rev(u) >= 0 || seen.contains(u)) continue;
        seen.push_back(u);
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(u));
        out += (out.empty() ? "" : " ") + std::string(code);
    }
    return out;
}

std::string UnstorableCharacters(std::string_view utf8) {
    return UnstorableCharacters(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

std::string AnsiToUtf8(std::string_view ansi) { return AnsiToQString(ansi).toStdString(); }

std::string Utf8ToAnsi(std::string_view utf8) {
    return QStringToAnsi(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

namespace {

// Names a character once in `lost`, as UnstorableCharacters does.
void NameOnce(std::string& lost, const char* format, unsigned value) {
    char code[16];
    std::snprintf(code, sizeof code, format, value);
    const std::string name(code);
    std::size_t at = 0;
    while ((at = lost.find(name, at)) != std::string::npos) {
        const std::size_t end = at + name.size();
        if ((at == 0 || lost[at - 1] == ' ') && (end == lost.size() || lost[end] == ' ')) return;
        at = end;
    }
    lost += (lost.empty() ? "" : " ") + name;
}
void NameCharacter(std::string* lost, char32_t u) {
    if (lost) NameOnce(*lost, "U+%04X", static_cast<unsigned>(u));
}

// The nearest form in Windows-1252 of each character that code page 437
// lacks: a letter without its accent, a plain quote, dash or sign.
char NearForm(unsigned char c) {
    switch (c) {
    case 0x80: return 'E';                 // euro sign
    case 0x82: case 0xB8: return ',';
    case 0x84: case 0xA8: case 0x93: case 0x94: return '"';
    case 0x85: return '.';                 // ellipsis
    case 0x86: case 0x87: return '+';      // daggers
    case 0x88: return '^';
    case 0x89: return '%';
    case 0x8B: return '<';
    case 0x9B: return '>';
    case 0x91: case 0x92: case 0xB4: return '\'';
    case 0x95: return '\xB7';              // bullet: middle dot
    case 0x96: case 0x97: case 0xAD: case 0xAF: return '-';
    case 0x98: return '~';
    case 0x99: return 'T';                 // trade mark
    case 0x8A: return 'S';
    case 0x9A: return 's';
    case 0x8C: return 'O';                 // OE ligature
    case 0x9C: return 'o';
    case 0x8E: return 'Z';
    case 0x9E: return 'z';
    case 0x9F: case 0xDD: return 'Y';
    case 0xFD: return 'y';
    case 0xA4: return '$';                 // currency sign
    case 0xA6: return '|';
    case 0xA7: return 'S';                 // section sign
    case 0xA9: return 'c';
    case 0xAE: return 'r';
    case 0xB3: case 0xBE: return '3';
    case 0xB9: return '1';
    case 0xB6: return 'P';
    case 0xC0: case 0xC1: case 0xC2: case 0xC3: return 'A';
    case 0xC8: case 0xCA: case 0xCB: return 'E';
    case 0xCC: case 0xCD: case 0xCE: case 0xCF: return 'I';
    case 0xD0: return 'D';
    case 0xD2: case 0xD3: case 0xD4: case 0xD5: case 0xD8: return 'O';
    case 0xD7: return 'x';
    case 0xD9: case 0xDA: case 0xDB: return 'U';
    case 0xDE: return 'T';                 // thorn
    case 0xFE: return 't';
    case 0xE3: return 'a';
    case 0xF0: return 'd';
    case 0xF5: case 0xF8: return 'o';
    default: return '?';
    }
}

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsLatinLetter(char16_t u) { return u >= 0xC0 && u <= 0x24F && u != 0xD7 && u != 0xF7; }

// The length of a well-formed UTF-8 sequence starting at s[0], 0 when the
// bytes there are no such sequence; `code` gets its character.
int Utf8Sequence(std::string_view s, char32_t& code) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = b(0);
    if (c < 0x80) {
        code = c;
        return 1;
    }
    int n = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) n = 2, code = c & 0x1F;
    else if (c >= 0xE0 && c <= 0xEF) n = 3, code = c & 0x0F, lo = c == 0xE0 ? 0xA0 : 0x80, hi = c == 0xED ? 0x9F : 0xBF;
    else if (c >= 0xF0 && c <= 0xF4) n = 4, code = c & 0x07, lo = c == 0xF0 ? 0x90 : 0x80, hi = c == 0xF4 ? 0x8F : 0xBF;
    else return 0;
    if (s.size() < static_cast<std::size_t>(n)) return 0;
    for (int i = 1; i < n; ++i) {
        const unsigned char x = b(static_cast<std::size_t>(i));
        if (x < (i == 1 ? lo : 0x80) || x > (i == 1 ? hi : 0xBF)) return 0;
        code = (code << 6) | (x & 0x3F);
    }
    return n;
}

}  // namespace

std::string AnsiToOem(std::string_view ansi, std::string* lost) {
    std::string out;
    out.reserve(ansi.size());
    const auto& rev = FromUnicode437();
    for (unsigned char c : ansi) {
        int b = rev(kCp1252ToUnicode[c]);
        if (b < 0) {
            NameCharacter(lost, kCp1252ToUnicode[c]);
            b = rev(kCp1252ToUnicode[static_cast<unsigned char>(NearForm(c))]);
        }
        out.push_back(static_cast<char>(b));
    }
    return out;
}

std::string OemToAnsi(std::string_view oem, std::string* lost) {
    std::string out;
    out.reserve(oem.size());
    const auto& rev = FromUnicode1252();
    for (unsigned char c : oem) {
        const int b = rev(kCp437ToUnicode[c]);
        if (b < 0) NameCharacter(lost, kCp437ToUnicode[c]);
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

std::string FileTextToAnsi(std::string_view bytes, FileText from, std::string& lost) {
    std::string out;
    switch (from) {
    case FileText::Oem: out = OemToAnsi(bytes, &lost); break;
    case FileText::Ansi: out = std::string(bytes); break;
    case FileText::Utf8: {
        out.reserve(bytes.size());
        const auto& rev = FromUnicode1252();
        while (!bytes.empty()) {
            char32_t u = 0;
            const int n = Utf8Sequence(bytes, u);
            if (n == 0) {
                NameOnce(lost, "0x%02X", static_cast<unsigned char>(bytes.front()));
                out.push_back('?');
                bytes.remove_prefix(1);
                continue;
            }
            bytes.remove_prefix(static_cast<std::size_t>(n));
            const int b = rev(u);
            if (b < 0) NameCharacter(&lost, u);
            out.push_back(b < 0 ? '?' : static_cast<char>(b));
        }
        break;
    }
    }
    for (char& c : out)
        if (c == '\0') {
            NameCharacter(&lost, 0);
            c = '?';
        }
    return out;
}

std::string AnsiToFileText(std::string_view ansi, FileText to, std::string& lost) {
    switch (to) {
    case FileText::Oem: return AnsiToOem(ansi, &lost);
    case FileText::Utf8: return AnsiToUtf8(ansi);
    default: return std::string(ansi);
    }
}

void FileTextGuess::Feed(std::string_view bytes) {
    for (const unsigned char c : bytes) {
        if (c >= 0x80) ascii_ = false;
        // Well-formed UTF-8, byte by byte.
        if (utf8_) {
            if (pending_ > 0) {
                unsigned char lo = 0x80, hi = 0xBF;
                if (second_) {
                    if (lead_ == 0xE0) lo = 0xA0;
                    else if (lead_ == 0xED) hi = 0x9F;
                    else if (lead_ == 0xF0) lo = 0x90;
                    else if (lead_ == 0xF4) hi = 0x8F;
                }
                second_ = false;
                if (c < lo || c > hi) utf8_ = false;
                else --pending_;
            } else if (c >= 0x80) {
                lead_ = c;
                second_ = true;
                if (c >= 0xC2 && c <= 0xDF) pending_ = 1;
                else if (c >= 0xE0 && c <= 0xEF) pending_ = 2;
                else if (c >= 0xF0 && c <= 0xF4) pending_ = 3;
                else utf8_ = false;
            }
        }
        if (previous_ >= 0x80) Weigh(before_, previous_, c, ansiLetters_, oemLetters_);
        before_ = previous_;
        previous_ = c;
    }
}

// A byte above 127 counts for a code page when it reads there as a Latin
// letter beside a plain letter, and not as a capital after a small letter.
// Such a capital inside a word counts for the other code page instead: the
// right quote of "Don\x92t" reads as a capital AE in code page 437.
void FileTextGuess::Weigh(unsigned char before, unsigned char high, unsigned char after, long& ansi, long& oem) {
    if (!IsAsciiLetter(before) && !IsAsciiLetter(after)) return;
    const bool afterSmall = before >= 'a' && before <= 'z';
    const auto weigh = [&](char16_t u, long& self, long& other) {
        if (!IsLatinLetter(u)) return;
        if (afterSmall && QChar(u).isUpper()) ++other;
        else ++self;
    };
    weigh(kCp1252ToUnicode[high], ansi, oem);
    weigh(kCp437ToUnicode[high], oem, ansi);
}

FileText FileTextGuess::Result() const {
    if (utf8_ && pending_ == 0) return FileText::Utf8;
    long ansi = ansiLetters_, oem = oemLetters_;
    if (previous_ >= 0x80) Weigh(before_, previous_, 0, ansi, oem);
    return ansi > oem ? FileText::Ansi : FileText::Oem;
}

}  // namespace fw
