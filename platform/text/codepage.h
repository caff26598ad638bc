#pragma once
// The program's text is single-byte Windows-1252. These are the only
// conversions between it and Unicode (for Qt and file names) and the OEM
// code page 437 (for the exchange files), and the one case folding that
// collation, UPPER, LOWER, filters and searches all share.

#include <QString>
#include <string>
#include <string_view>

namespace fw {

namespace codepage_tables {
extern const char16_t kCp1252ToUnicode[256];
extern const char16_t kCp437ToUnicode[256];
extern const unsigned char kCp1252Upper[256];
extern const unsigned char kCp1252Lower[256];
}  // namespace codepage_tables

// Windows-1252 case of one byte (accented letters included).
inline unsigned char UpperByte(unsigned char c) { return codepage_tables::kCp1252Upper[c]; }
inline unsigned char LowerByte(unsigned char c) { return codepage_tables::kCp1252Lower[c]; }

std::string UpperText(std::string_view s);
std::string LowerText(std::string_view s);

// Compares two texts the way every key and search of the program does:
// Windows-1252 upper case, then byte order, trailing blanks ignored.
// Returns <0, 0 or >0.
int CompareFolded(std::string_view a, std::string_view b);

// Windows-1252 bytes <-> Unicode. Characters outside Windows-1252 become '?'.
QString AnsiToQString(std::string_view ansi);
std::string QStringToAnsi(const QString& text);
std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);

// The characters of a text that Windows-1252 lacks, each once, as "U+6B4C"
// separated by blanks; empty when the text can be stored as it is. What
// cannot be stored is refused with these names, never changed silently.
std::string UnstorableCharacters(const QString& text);
std::string UnstorableCharacters(std::string_view utf8);

// Windows-1252 <-> code page 437 (OEM). Characters that the target lacks become '?'.
std::string AnsiToOem(std::string_view ansi);
std::string OemToAnsi(std::string_view oem);

}  // namespace fw
