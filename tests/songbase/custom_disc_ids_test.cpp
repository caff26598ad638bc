// The custom disc ID rules: numeric values, proposals, numbered IDs and
// the check every tagged disc's ID passes.
#include "songbase/custom_disc_ids.h"

#include "add_discs_fixture.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbook.h"

#include <gmock/gmock.h>

namespace add_discs_test {
namespace {

using songbase::CustomIdProblem;

TEST(CustomIdNumber, IsTheWholePartOfWhatDeformattingLeaves) {
    const struct {
        const char* id;
        std::int64_t value;
    } cases[] = {
        {"A3", 3},           {"12", 12},          {"CB101-1", 1011}, {"", 0},           {"ABC", 0},
        {"-5", -5},          {"1.5", 1},          {"E12", 0},        {"DE12", 0},       {"99999999999", 0},
        {"999999999", 999999999}, {"1000000000", 0}, {"9E999", 0},  {"  42  ", 42},    {"CB7", 7},
    };
    for (const auto& c : cases) EXPECT_EQ(songbase::CustomIdNumber(c.id), c.value) << '"' << c.id << '"';
}

TEST(NumberedCustomId, PutsTheNumberBetweenClippedPrefixAndSuffixInFifteenCharacters) {
    EXPECT_EQ(songbase::NumberedCustomId("CB ", 7, "   "), "CB7");
    EXPECT_EQ(songbase::NumberedCustomId("", 101, "-A"), "101-A");
    EXPECT_EQ(songbase::NumberedCustomId("ABC", 999999999, "XYZ"), "ABC999999999XYZ");
    EXPECT_EQ(songbase::NumberedCustomId("ABC", 1000000000, "XYZ"), "ABC1000000000XY");
}

TEST(ClipCustomId, KeepsFifteenCharactersWithoutTrailingBlanks) {
    EXPECT_EQ(songbase::ClipCustomId("0123456789ABCDEFG"), "0123456789ABCDE");
    EXPECT_EQ(songbase::ClipCustomId("12345678901234 X"), "12345678901234");
    EXPECT_EQ(songbase::ClipCustomId("  "), "");
}

class CustomIdBookTest : public AddDiscsFolder {
protected:
    void Book(const std::vector<BookDisc>& discs) {
        MakeBook("Party", discs, {});
        UseBook("Party");
        use_ = std::make_unique<shell::FileUse>(shell::SBDiscsFile());
    }
    void TearDown() override {
        use_.reset();
        AddDiscsFolder::TearDown();
    }
    std::unique_ptr<shell::FileUse> use_;
};

TEST_F(CustomIdBookTest, ProposalIsOneAboveTheHighestNumberInTheBookAndTheTags) {
    Book({{"AA1", "7"}, {"AA2", "12"}, {"AA3", "A3"}});
    shell::TagList tags;
    EXPECT_EQ(songbase::NextCustomNumber(tags), 13);
    tags.Add({"BB1", "20", 0, ""});
    EXPECT_EQ(songbase::NextCustomNumber(tags), 21);
    tags.Add({"BB2", "99999999999", 0, ""});  // too large to count
    EXPECT_EQ(songbase::NextCustomNumber(tags), 21);
}

TEST_F(CustomIdBookTest, AnEmptyBookWithoutTagsProposesOne) {
    Book({});
    EXPECT_EQ(songbase::NextCustomNumber(shell::TagList()), 1);
}

TEST_F(CustomIdBookTest, AnIdIsRefusedWhenBlankOrUsedInAnyLetterCase) {
    Book({{"AA1", "CB7"}, {"AA2", "0123456789ABCDE"}});
    shell::TagList tags;
    tags.Add({"BB1", "x20", 0, ""});
    const struct {
        const char* id;
        const char* unq;
        CustomIdProblem problem;
    } cases[] = {
        {"cb7", "NEW1", CustomIdProblem::UsedInBook},
        {"0123456789abcdeXYZ", "NEW1", CustomIdProblem::UsedInBook},  // equal in its 15 characters
        {"X20", "NEW1", CustomIdProblem::UsedByTag},
        {"", "NEW1", CustomIdProblem::Blank},
        {"   ", "NEW1", CustomIdProblem::Blank},
        {"CB8", "NEW1", CustomIdProblem::None},
        {"CB7", "aa1", CustomIdProblem::None},  // the disc's own record in the book
        {"x20", "bb1", CustomIdProblem::None},  // the disc's own tag
    };
    for (const auto& c : cases)
        EXPECT_EQ(songbase::CheckCustomId(c.id, tags, c.unq), c.problem) << c.id << " for " << c.unq;
}

TEST_F(CustomIdBookTest, DiscInBookGivesItsCustomIdWhateverTheCase) {
    Book({{"SC8123", "101"}});
    std::string alt;
    EXPECT_TRUE(songbase::DiscInBook("sc8123", &alt));
    EXPECT_EQ(alt, "101");
    EXPECT_FALSE(songbase::DiscInBook("SC8124"));
}

TEST(DiscAlreadyAddedText, NamesTheCustomIdWithItsTrailingBlanks) {
    EXPECT_EQ(songbase::DiscAlreadyAddedText("CB7"),
              "This disc has already been added to this SongBook.||Custom Disc ID: CB7            "
              "||To preserve data integrity duplicate disc entries are not allowed.");
}

}  // namespace
}  // namespace add_discs_test
