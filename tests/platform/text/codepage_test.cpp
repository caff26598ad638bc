#include "platform/text/codepage.h"
#include "platform/text/fixed_string.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(fw::AnsiToOem("\x80"), "?");  // no euro sign in code page 437
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
