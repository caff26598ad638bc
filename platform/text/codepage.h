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

// Windows-1252 <-> code page 437 (OEM). Into code page 437 a character it
// lacks is written in its nearest form (\xE3 a-tilde as "a", \x92 the right
// quote as "'", \x80 the euro sign as "E"); back, a character Windows-1252
// lacks (box drawing, Greek) becomes '?'. `lost`, when given, gets each
// character so changed once, named as UnstorableCharacters names them.
std::string AnsiToOem(std::string_view ansi, std::string* lost = nullptr);
std::string OemToAnsi(std::string_view oem, std::string* lost = nullptr);

// The text of files from elsewhere (the exchange files).
enum class FileText { Ansi, Oem, Utf8 };

// A file's text as program text. What the program's text cannot hold
// becomes '?' and is named in `lost`, each once: a character outside
// Windows-1252 ("U+2500"), a byte that is not UTF-8 in a UTF-8 text
// ("0xE9"), and NUL ("U+0000"), which would end the text where it stands.
std::string FileTextToAnsi(std::string_view bytes, FileText from, std::string& lost);
// Program text as a file's text; `lost` names what code page 437 could
// only write in a near form (UTF-8 and Windows-1252 carry everything).
std::string AnsiToFileText(std::string_view ansi, FileText to, std::string& lost);

// Works out how a file's text is encoded, fed its bytes in pieces: UTF-8
// when every byte is well-formed UTF-8 (with a byte-order mark or without
// one); otherwise Windows-1252 when more of its bytes above 127 read as
// Latin letters within words in Windows-1252 than in code page 437
// ("Caf\xE9": \xE9 is e-acute in Windows-1252, a theta in code page 437),
// and code page 437, the exchange files' own, when not.
class FileTextGuess {
public:
    void Feed(std::string_view bytes);
    FileText Result() const;
    // Whether every byte fed was plain ASCII (then every reading agrees).
    bool Ascii() const { return ascii_; }

private:
    static void Weigh(unsigned char before, unsigned char high, unsigned char after, long& ansi, long& oem);

    bool ascii_ = true;
    bool utf8_ = true;
    int pending_ = 0;          // continuation bytes still due in a UTF-8 sequence
    unsigned char lead_ = 0;   // the sequence's first byte, for the second byte's range
    bool second_ = false;      // the next byte is a sequence's second
    unsigned char previous_ = 0;
    unsigned char before_ = 0;  // the byte before previous_
    long ansiLetters_ = 0;
    long oemLetters_ = 0;
};

}  // namespace fw
