// The storage's text match on a key's order: what it finds equals the
// plain folded test on every record, "begins with" also as an index range
// (prefixes ending in letters, accented letters and the bytes around them),
// and ranks in a key go both ways.
#include "data_test_support.h"

#include "platform/data/text_match.h"
#include "platform/data/view.h"
#include "platform/text/codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace datatest;

namespace {

class TextMatchTest : public SongFileTest {
protected:
    void SetUp() override {
        SongFileTest::SetUp();
        if (HasFatalFailure()) return;
        int track = 1;
        for (const char* t : kTitles) AddSong(*songs, t, "D1", track++);
    }
    // Titles in KTITLE order that the view finds.
    std::vector<std::string> Found(std::string_view text, fw::TextMatch mode) {
        fw::View view(*songs);
        view.SetTextMatch("SNG:Title", text, mode);
        fw::SET(songs->FindKey("SNG:KTITLE"));
        fw::OPEN(view);
        std::vector<std::string> out;
        for (fw::NEXT(view); fw::ERRORCODE() == 0; fw::NEXT(view)) out.push_back(Buf(*songs).Title.Str());
        return out;
    }
    // The same by the plain test on every record in KTITLE order.
    std::vector<std::string> Expected(std::string_view text, fw::TextMatch mode) {
        std::vector<std::string> out;
        fw::SET(songs->FindKey("SNG:KTITLE"));
        for (fw::NEXT(*songs); fw::ERRORCODE() == 0; fw::NEXT(*songs))
            if (fw::TextMatches(Buf(*songs).Title.Clip(), fw::UpperText(text), mode)) out.push_back(Buf(*songs).Title.Str());
        return out;
    }

    static constexpr const char* kTitles[] = {
        "apple",  "Apple Pie", "APPLE",     "Apples", "Applf",   "Appl`e", "Appl{e", "Appl[e", "Zebra", "zEBRA",
        "Z[ebra", "\xC9milie",  "\xE9mile", "\xC9t\xE9", "\xCA" "tre", "caf\xE9", "CAF\xC9 noir", "100% Love",
        "a_b",    "love me",    "Glove",    " love",  "Lovely",
    };
};

TEST_F(TextMatchTest, FindsWhatThePlainTestFinds) {
    const std::vector<std::string> texts = {"appl", "APPL", "apple", "Appl`", "Appl{", "Appl[", "z", "Z[", "\xE9",
                                            "\xC9m", "caf\xE9", "caf", "love", " love", "%", "_", "e", "zz", "ebra"};
    for (const std::string& text : texts)
        for (fw::TextMatch mode : {fw::TextMatch::BeginsWith, fw::TextMatch::Contains})
            EXPECT_EQ(Found(text, mode), Expected(text, mode)) << "'" << text << "' mode " << static_cast<int>(mode);
    EXPECT_EQ(Found("appl", fw::TextMatch::BeginsWith).size(), 8u);
    EXPECT_EQ(Found("%", fw::TextMatch::Contains), std::vector<std::string>{"100% Love"});  // no LIKE wildcards
    EXPECT_EQ(Found("_", fw::TextMatch::Contains), std::vector<std::string>{"a_b"});
    EXPECT_TRUE(Found("", fw::TextMatch::Contains).size() == sizeof kTitles / sizeof *kTitles);  // no text: no condition
}

TEST_F(TextMatchTest, RanksInAKeyGoBothWays) {
    const fw::Key key = songs->FindKey("SNG:KTITLE");
    const long all = fw::KeyRecords(key);
    ASSERT_EQ(all, static_cast<long>(sizeof kTitles / sizeof *kTitles));
    for (long rank = 1; rank <= all; ++rank) {
        ASSERT_TRUE(fw::GetAtRank(key, rank)) << rank;
        EXPECT_EQ(fw::KeyRank(key), rank);
    }
    EXPECT_FALSE(fw::GetAtRank(key, all + 1));
    EXPECT_EQ(fw::ERRORCODE(), fw::BadRecErr);
    fw::GetAtRank(key, 1);
    EXPECT_EQ(Buf(*songs).Title.Str(), " love");
    // Ties in the key (apple, APPLE) keep record order.
    fw::GetAtRank(key, 3);
    EXPECT_EQ(Buf(*songs).Title.Str(), "apple");
    fw::GetAtRank(key, 4);
    EXPECT_EQ(Buf(*songs).Title.Str(), "APPLE");
}

}  // namespace
