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

std::string AnsiToOem(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    const auto& rev = FromUnicode437();
    for (unsigned char c : ansi) {
        const int b = rev(kCp1252ToUnicode[c]);
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

std::string OemToAnsi(std::string_view oem) {
    std::string out;
    out.reserve(oem.size());
    const auto& rev = FromUnicode1252();
    for (unsigned char c : oem) {
        const int b = rev(kCp437ToUnicode[c]);
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

}  // namespace fw
