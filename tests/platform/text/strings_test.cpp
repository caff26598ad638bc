#include "platform/text/fixed_string.h"
#include "platform/text/strings.h"

#include <gtest/gtest.h>

namespace {

TEST(Strings, ClipLeftSubLen) {
    EXPECT_EQ(fw::CLIP("ab  "), "ab");
    EXPECT_EQ(fw::CLIP("  ab"), "  ab");
    EXPECT_EQ(fw::CLIP("    "), "");
    EXPECT_EQ(fw::CLIP(""), "");
    EXPECT_EQ(fw::LEFT("  ab "), "ab   ");
    EXPECT_EQ(fw::CLIP(fw::LEFT("  The Rose  ")), "The Rose");
    EXPECT_EQ(fw::LEFT("  ab", 3), "ab ");
    EXPECT_EQ(fw::LEFT("", 2), "  ");

    fw::FString<10> name = "Party";
    EXPECT_EQ(fw::LEN(name), 10u);                 // the declared length
    EXPECT_EQ(fw::LEN(fw::CLIP(name)), 5u);

    struct Case { const char* s; long start, len; const char* want; };
    const Case cases[] = {
        {"SC8123", 1, 2, "SC"},
        {"SC8123", 3, 4, "8123"},
        {"SC8123", 5, 10, "23"},   // cut at the end
        {"SC8123", 7, 1, ""},      // past the end
        {"SC8123", 0, 2, "S"},     // position 0 is outside
        {"SC8123", 2, 0, ""},
        {"", 1, 3, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::SUB(c.s, c.start, c.len), c.want) << c.s << " " << c.start;
}

TEST(Strings, UpperLowerFoldAccentedLetters) {
    EXPECT_EQ(fw::UPPER("caf\xE9 na\xEFve"), "CAF\xC9 NA\xCFVE");
    EXPECT_EQ(fw::LOWER("\xC0\xC9\x8A"), "\xE0\xE9\x9A");
    EXPECT_EQ(fw::UPPER(fw::SUB("sc8123", 1, 2)), "SC");
    EXPECT_EQ(fw::UPPER(""), "");
}

TEST(Strings, InstringStepsAndStart) {
    struct Case { const char* sub; const char* s; long step, start, want; };
    const Case cases[] = {
        {"DEF", "ABCDEFGHIJ", 1, 1, 4},
        {"DEF", "ABCDEFGHIJ", 3, 1, 2},   // positions 1, 4: found on the second step
        {"DEF", "ABCDEFGHIJ", 2, 1, 0},   // positions 1, 3, 5, 7: never at 4
        {"THE ", "THE ROSE", 1, 4, 0},    // from the 4th character only
        {"THE ", "BY THE SEA", 1, 4, 4},
        {"2bk", "C:/x/Party.2BK", 1, 1, 0},  // case-sensitive
        {"abc", "ab", 1, 1, 0},           // longer than the text
        {"", "abc", 1, 1, 0},
        {"a", "", 1, 1, 0},
        {"c", "abc", 0, 1, 3},            // step 0 counts as 1
        {"a", "abc", 1, -5, 1},           // start below 1 counts as 1
        {"c", "abc", 1, 9, 0},            // start past the end
    };
    for (const auto& c : cases)
        EXPECT_EQ(fw::INSTRING(c.sub, c.s, c.step, c.start), c.want) << c.sub << " in " << c.s;
}

TEST(Strings, InstringFindsSbkAtEitherEndOnlyWithNameStep) {
    // The older-format test: steps of LEN(CLIP(name)) - 3 from position 1
    // test only the first and the last three characters.
    struct Case { const char* name; bool found; };
    const Case cases[] = {
        {"c:/books/party.sbk", true},
        {"sbkparty.2bk", true},            // a bare name starting with sbk
        {"c:/books/sbkparty.2bk", false},  // a full path never starts with it
        {"c:/sbk/party.2bk", false},       // in the middle: not tested
        {"sbk", true},                     // step 0, treated as 1
        {"ab", false},
    };
    for (const auto& c : cases) {
        fw::FString<64> name = c.name;
        const long step = static_cast<long>(fw::LEN(fw::CLIP(name))) - 3;
        EXPECT_EQ(fw::INSTRING("sbk", fw::LOWER(name), step, 1) != 0, c.found) << c.name;
    }
}

TEST(Strings, CenterPutsTheOddBlankInFront) {
    EXPECT_EQ(fw::CENTER("Page 7 of 12", 19), "    Page 7 of 12   ");
    EXPECT_EQ(fw::CENTER("Page 10 of 12", 19), "   Page 10 of 12   ");
    EXPECT_EQ(fw::CENTER("  ab  ", 4), " ab ");
    EXPECT_EQ(fw::CENTER("", 3), "   ");
    EXPECT_EQ(fw::CENTER("abcdef", 4), "abcd");
}

TEST(Strings, AllRepeatsToLength) {
    EXPECT_EQ(fw::ALL("_", 255), std::string(255, '_'));
    EXPECT_EQ(fw::ALL("ab", 5), "ababa");
    EXPECT_EQ(fw::ALL("ab", 0), "");
    EXPECT_EQ(fw::ALL("", 3), "   ");
}

TEST(Strings, CharacterClasses) {
    struct Case { unsigned char c; bool upper, lower, digit, symbol; };
    const Case cases[] = {
        {'A', true, false, false, false},
        {'z', false, true, false, false},
        {0xC9, true, false, false, false},   // É
        {0xE9, false, true, false, false},   // é
        {0x8A, true, false, false, false},   // Š
        {0x9F, true, false, false, false},   // Ÿ
        {0xFF, false, true, false, false},   // ÿ
        {0xDF, false, true, false, false},   // ß: lower case without an upper form
        {0xB5, false, true, false, false},   // µ
        {'7', false, false, true, false},
        {' ', false, false, false, true},
        {'"', false, false, false, true},
        {'~', false, false, false, true},
        {0xA3, false, false, false, true},   // £
        {'<', false, false, false, false},
        {'{', false, false, false, false},
        {0xD7, false, false, false, false},  // × is no letter
        {0, false, false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::ISUPPER(c.c), c.upper) << int(c.c);
        EXPECT_EQ(fw::ISLOWER(c.c), c.lower) << int(c.c);
        EXPECT_EQ(fw::ISALPHA(c.c), c.upper || c.lower) << int(c.c);
        EXPECT_EQ(fw::ISDIGIT(c.c), c.digit) << int(c.c);
        EXPECT_EQ(fw::IsThumbSymbol(c.c), c.symbol) << int(c.c);
    }
    int symbols = 0;
    for (int b = 1; b < 256; ++b) symbols += fw::IsThumbSymbol(static_cast<unsigned char>(b));
    EXPECT_EQ(symbols, 30);
}

TEST(FixedString, FullLengthAndLongTexts) {
    fw::FString<255> s = std::string(300, 'x');
    EXPECT_EQ(fw::LEN(fw::CLIP(s)), 255u);
    fw::CString<256> c = std::string(300, 'y');
    EXPECT_EQ(c.View().size(), 255u);
    fw::FString<4> fromResult = fw::CLIP("ab   ");   // results of the string functions
    EXPECT_EQ(fromResult.View(), "ab  ");
    fromResult = fw::UPPER("abcdef");
    EXPECT_EQ(fromResult.View(), "ABCD");
    fw::CString<4> cFromResult;
    cFromResult = fw::LOWER("XYZW");
    EXPECT_EQ(cFromResult.View(), "xyz");
    fw::FString<4> empty = "";
    EXPECT_EQ(empty.View(), "    ");
    EXPECT_TRUE(empty == "");
}

}  // namespace
