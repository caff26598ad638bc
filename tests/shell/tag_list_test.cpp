// A window's own tag list.
#include "shell/tag_list.h"

#include <gmock/gmock.h>

namespace {

std::vector<std::string> Ids(const shell::TagList& tags) {
    std::vector<std::string> out;
    for (const shell::TagEntry& e : tags.Entries()) out.push_back(e.unq + "/" + e.alt);
    return out;
}

TEST(TagList, KeepsItsOrderAndFindsDiscsAndCustomIdsIgnoringCase) {
    shell::TagList tags;
    tags.Add({"SC200", "2", 0, ""});
    tags.Add({"av100", "b", 0, ""});
    tags.Add({"AV100", "A", 0, ""});
    EXPECT_THAT(Ids(tags), ::testing::ElementsAre("AV100/A", "av100/b", "SC200/2"));
    ASSERT_NE(tags.FindDisc("sc200"), nullptr);
    EXPECT_EQ(tags.FindDisc("sc200")->alt, "2");
    EXPECT_EQ(tags.FindDisc("SC20"), nullptr);
    EXPECT_TRUE(tags.CustomIdUsed("a"));
    EXPECT_FALSE(tags.CustomIdUsed("a", "av100"));  // its own disc's
    EXPECT_FALSE(tags.CustomIdUsed("3"));
}

TEST(TagList, RemovesAndTakesAndCountsItsChanges) {
    shell::TagList tags;
    tags.Add({"A1", "1", 0, ""});
    tags.Add({"B1", "2", 0, ""});
    tags.Add({"C1", "3", 0, ""});
    const auto before = tags.Changes();
    EXPECT_EQ(tags.RemoveDisc("b1"), 1);
    EXPECT_FALSE(tags.CustomIdUsed("2"));
    tags.RemoveAt(0);  // outside the list: nothing
    tags.RemoveAt(2);
    EXPECT_THAT(Ids(tags), ::testing::ElementsAre("A1/1"));
    EXPECT_GT(tags.Changes(), before);
    const std::vector<shell::TagEntry> taken = tags.Take();
    EXPECT_EQ(taken.size(), 1u);
    EXPECT_TRUE(tags.Empty());
    EXPECT_FALSE(tags.CustomIdUsed("1"));
}

TEST(TagList, AnotherOrderKeepsFindingDiscs) {
    shell::TagList byCustomId([](const shell::TagEntry& a, const shell::TagEntry& b) { return a.alt < b.alt; });
    byCustomId.Add({"Z9", "1", 0, ""});
    byCustomId.Add({"A1", "2", 0, ""});
    EXPECT_THAT(Ids(byCustomId), ::testing::ElementsAre("Z9/1", "A1/2"));
    EXPECT_NE(byCustomId.FindDisc("z9"), nullptr);
}

}  // namespace
