#include "platform/text/codepage.h"
#include "platform/text/fixed_string.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Codepage, FoldingCoversAccentedLetters) {
    struct Case { std::string in, upper, lower; };
    const Case cases[] = {
        {"abc xyz", "ABC XYZ", "abc xyz"},
        {"\xE9t\xE9", "\xC9T\xC9", "\xE9t\xE9"},      // été
        {"\xFF", "\x9F", "\xFF"},                      // ÿ <-> Ÿ
        {"\x9A\x9C", "\x8A\x8C", "\x9A\x9C"},          // š œ
        {"\xDF", "\xDF", "\xDF"},                      // ß has no one-byte upper case
        {"\xA3" "5", "\xA3" "5", "\xA3" "5"},          // £ is not a letter
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::UpperText(c.in), c.upper) << c.in;
        EXPECT_EQ(fw::LowerText(c.upper), c.lower) << c.in;
    }
}

TEST(Codepage, CompareFoldedIgnoresCaseAndTrailingBlanks) {
    EXPECT_EQ(fw::CompareFolded("The Rose", "THE ROSE   "), 0);
    EXPECT_LT(fw::CompareFolded("abc", "ABD"), 0);
    EXPECT_LT(fw::CompareFolded("ab", "ab c"), 0);
    EXPECT_GT(fw::CompareFolded("\xE9", "Z"), 0);  // byte order after folding
    EXPECT_EQ(fw::CompareFolded("", "   "), 0);
}

TEST(Codepage, EveryByteRoundTripsThroughUnicode) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(fw::QStringToAnsi(fw::AnsiToQString(all)), all);
    EXPECT_EQ(fw::Utf8ToAnsi(fw::AnsiToUtf8(all)), all);
    EXPECT_EQ(fw::AnsiToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
    EXPECT_EQ(fw::Utf8ToAnsi("\xE4\xB8\xAD"), "?");       // not in Windows-1252
}

TEST(Codepage, OemConversion) {
    EXPECT_EQ(fw::AnsiToOem("Caf\xE9"), "Caf\x82");
    EXPECT_EQ(fw::OemToAnsi("Caf\x82"), "Caf\xE9");
    std::string lost;
    EXPECT_EQ(fw::AnsiToOem("Caf\xE9", &lost), "Caf\x82");
    EXPECT_EQ(lost, "");
}

// Every Windows-1252 character that code page 437 lacks is written in a
// near form and named, never as a silent "?".
TEST(Codepage, CharactersCodePage437LacksAreWrittenInANearFormAndNamed) {
    struct Case { std::string ansi, oem, lost; };
    const Case cases[] = {
        {"Jo\xE3o", "Joao", "U+00E3"},
        {"\x80uro", "Euro", "U+20AC"},
        {"\x8Cuvre", "Ouvre", "U+0152"},
        {"Don\x92t \x93Stop\x94", "Don't \"Stop\"", "U+2019 U+201C U+201D"},
        {"\xC0\xC1\xC3 \xC3", "AAA A", "U+00C0 U+00C1 U+00C3"},
        {"Rock \x96 Roll\x85", "Rock - Roll.", "U+2013 U+2026"},
        {"\x95", "\xFA", "U+2022"},  // bullet: the middle dot 437 has
    };
    for (const Case& c : cases) {
        std::string lost;
        EXPECT_EQ(fw::AnsiToOem(c.ansi, &lost), c.oem) << c.ansi;
        EXPECT_EQ(lost, c.lost) << c.ansi;
    }
    // All 69 of them: each has a form other than "?", and each is named.
    int named = 0;
    for (int b = 0x80; b < 0x100; ++b) {
        const std::string one(1, static_cast<char>(b));
        const char16_t u = fw::codepage_tables::kCp1252ToUnicode[b];
        if (u >= 0x80 && u < 0xA0) continue;  // the five bytes Windows-1252 leaves undefined
        std::string lost;
        const std::string oem = fw::AnsiToOem(one, &lost);
        EXPECT_NE(oem, "?") << "byte " << b;
        if (!lost.empty()) ++named;
        else EXPECT_EQ(fw::OemToAnsi(oem), one) << "byte " << b;
    }
    EXPECT_EQ(named, 69);
}

// A file's text into the program's text: whatever cannot be held becomes
// "?" and is named.
TEST(Codepage, FileTextThatCannotBeHeldIsNamed) {
    struct Case { const char* what; std::string bytes; fw::FileText from; std::string ansi, lost; };
    const Case cases[] = {
        {"UTF-8 letters", "Caf\xC3\xA9 \xE2\x82\xAC", fw::FileText::Utf8, "Caf\xE9 \x80", ""},
        {"outside Windows-1252", "\xC5\x81\xC3\xB3" "d\xC5\xBA", fw::FileText::Utf8, "?\xF3" "d?", "U+0141 U+017A"},
        {"not UTF-8", "caf\xE9 \xFF\xFE", fw::FileText::Utf8, "caf? ??", "0xE9 0xFF 0xFE"},
        {"an overlong form", "a\xC0\xAF" "b", fw::FileText::Utf8, "a??b", "0xC0 0xAF"},
        {"a surrogate", "\xED\xA0\x80", fw::FileText::Utf8, "???", "0xED 0xA0 0x80"},
        {"a cut sequence", "ab\xE2\x82", fw::FileText::Utf8, "ab??", "0xE2 0x82"},
        {"box drawing and Greek", "\xC9\xCD\xBB \xE0\xE1", fw::FileText::Oem, "??? ?\xDF", "U+2554 U+2550 U+2557 U+03B1"},
        {"code page 437 letters", "Caf\x82 Ma\xA4" "ana", fw::FileText::Oem, "Caf\xE9 Ma\xF1" "ana", ""},
        {"NUL in UTF-8", std::string("Ti\0tle", 6), fw::FileText::Utf8, "Ti?tle", "U+0000"},
        {"NUL in code page 437", std::string("Ti\0tle", 6), fw::FileText::Oem, "Ti?tle", "U+0000"},
        {"NUL in Windows-1252", std::string("Ti\0tle\0", 7), fw::FileText::Ansi, "Ti?tle?", "U+0000"},
    };
    for (const Case& c : cases) {
        std::string lost;
        EXPECT_EQ(fw::FileTextToAnsi(c.bytes, c.from, lost), c.ansi) << c.what;
        EXPECT_EQ(lost, c.lost) << c.what;
    }
}

// How a file's text is encoded, as spreadsheets save it.
TEST(Codepage, FileTextIsGuessedAsTheHostsProgramWroteIt) {
    using fw::FileText;
    struct Case { const char* what; std::vector<std::string> pieces; FileText text; bool ascii; };
    const std::vector<Case> cases = {
        {"plain ASCII", {"Hey Jude,Beatles\r\n"}, FileText::Utf8, true},
        {"UTF-8 without a mark", {"Caf\xC3\xA9 Ma\xC3\xB1" "ana\n"}, FileText::Utf8, false},
        {"UTF-8, a letter split between pieces", {"Caf\xC3", "\xA9\n"}, FileText::Utf8, false},
        {"UTF-8 with a mark", {"\xEF\xBB\xBF", "x\n"}, FileText::Utf8, false},
        {"Windows-1252", {"Caf\xE9 Ma\xF1" "ana\r\n"}, FileText::Ansi, false},
        {"Windows-1252 capitals and quotes", {"\xC7" "a va,\xC9lodie\r\nDon\x92t Stop\r\nJo\xE3o\r\n"}, FileText::Ansi, false},
        {"code page 437", {"Caf\x82 Ma\xA4" "ana\r\n"}, FileText::Oem, false},
        {"code page 437 capitals", {"\x9A" "ber den Wolken,Sm\x94rg\x86sbord,\x99" "berg\r\n"}, FileText::Oem, false},
        {"code page 437 box drawing", {"\xC9\xCD\xCD\xBB Title\r\n"}, FileText::Oem, false},
        {"a UTF-8 sequence cut at the end", {"Caf\xC3"}, FileText::Oem, false},
    };
    for (const Case& c : cases) {
        fw::FileTextGuess guess;
        for (const std::string& p : c.pieces) guess.Feed(p);
        EXPECT_EQ(guess.Result(), c.text) << c.what;
        EXPECT_EQ(guess.Ascii(), c.ascii) << c.what;
    }
}

TEST(Codepage, UnstorableCharactersAreNamedEachOnce) {
    EXPECT_EQ(fw::UnstorableCharacters(std::string_view("Caf\xC3\xA9 \xE2\x82\xAC")), "");  // é and € are in the code page
    EXPECT_EQ(fw::UnstorableCharacters(std::string_view("Party \xF0\x9F\x8E\xA4")), "U+1F3A4");
    EXPECT_EQ(fw::UnstorableCharacters(std::string_view("\xE6\xAD\x8C\xE6\x9B\xB2\xE6\xAD\x8C")), "U+6B4C U+66F2");
}

TEST(FixedString, PadsTruncatesAndComparesClipped) {
    fw::FString<5> s = "ab";
    EXPECT_EQ(s.View(), "ab   ");
    EXPECT_EQ(s.Clip(), "ab");
    s = "abcdefg";
    EXPECT_EQ(s.View(), "abcde");
    fw::FString<8> t = "abcde";
    EXPECT_TRUE(s == t);
    EXPECT_TRUE(s == "abcde  ");
    EXPECT_FALSE(s == "ABCDE");
    EXPECT_TRUE(fw::FString<3>().Blank());
}

}  // namespace
