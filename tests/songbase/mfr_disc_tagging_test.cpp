// Tagging the discs of a brand: every route checks the disc against the
// book and its custom ID against the book and the other tags.
#include "songbase/mfr_disc_tagging.h"

#include "add_discs_fixture.h"
#include "platform/ui/message.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/window_runtime.h"
#include "songbase/custom_disc_id.h"
#include "songbase/custom_disc_ids.h"
#include "songbase/multi_tag_options.h"

#include <gmock/gmock.h>

#include <cstdlib>

namespace add_discs_test {
namespace {

using ::testing::ElementsAre;

std::string Trimmed(std::string s) {
    while (!s.empty() && s.front() == ' ') s.erase(s.begin());
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

std::vector<std::string> Tags(const shell::TagList& tags) {
    std::vector<std::string> out;
    for (const shell::TagEntry& e : tags.Entries()) out.push_back(e.unq + "/" + e.alt + "/" + e.genre);
    return out;
}

class TaggingTest : public AddDiscsFolder {
protected:
    void SetUp() override {
        AddDiscsFolder::SetUp();
        shell::ConnectWindowRuntime();
        songbase::SKIPALTDISKID = 0;
        // Brand 1: three discs; brand 2: two, one without a printed number.
        MakeSongBase({{1, "Alpha"}, {2, "Beta"}},
                     {{1, "101", "AL101"}, {1, "102", "AL102"}, {1, "103", "AL103"}, {2, "201", "BE201"}, {2, "", "BE202"}},
                     {});
    }
    void TearDown() override {
        songbase::SKIPALTDISKID = 0;
        shell::DisconnectWindowRuntime();
        AddDiscsFolder::TearDown();
    }
    // Runs the step on a program thread with the book "Party" and the song
    // base open, as the add-discs window has them.
    void OnThread(const std::function<void()>& step) {
        UseBook("Party");
        d.Start([step] {
            shell::FileUse discs(shell::DiscsFile());
            shell::FileUse bookDiscs(shell::SBDiscsFile());
            step();
        });
    }
    songbase::MfrDiscTagging Tagging(songbase::MfrDiscTagging::Prompt prompt = {}) {
        return songbase::MfrDiscTagging(tags, std::move(prompt), [this](const shell::TagList&) {
            songbase::BATCHADDTYPE = method;
            songbase::BATCHSTARTINGNUMBER = start;
            songbase::BATCHPRE = prefix;
            songbase::BATCHSUF = suffix;
            return confirmed;
        });
    }

    fw::testing::Driver d{fw::testing::GTestFailures()};
    shell::TagList tags;
    std::uint8_t method = 1;
    std::uint32_t start = 1;
    std::string prefix, suffix;
    bool confirmed = true;
};

TEST_F(TaggingTest, NumberingCountsOnPastADiscTheBookHas) {
    MakeBook("Party", {{"AL102", "X9"}}, {});
    method = 1, start = 7, prefix = "CB";
    d.AnswerMessage("Custom Disc ID: X9", fw::Button::Ok);
    OnThread([this] { Tagging().TagAll(songbase::DiscsOfBrand(1)); });
    EXPECT_THAT(Tags(tags), ElementsAre("AL101/CB7/", "AL103/CB9/"));
    EXPECT_EQ(d.Messages().size(), 1u);
    EXPECT_THAT(d.Messages()[0], ::testing::StartsWith("Disc Already Added!: This disc has already been added"));
    EXPECT_EQ(beeps, 1);
}

TEST_F(TaggingTest, ANumberedIdTheBookUsesIsRefusedAndTheNextDiscGetsTheNextNumber) {
    MakeBook("Party", {{"ZZ1", "cb8-1"}}, {});
    method = 1, start = 7, prefix = "CB", suffix = "-1";
    d.AnswerMessage("Its Custom Disc ID CB8-1 is already used in this SongBook", fw::Button::Ok);
    OnThread([this] { Tagging().TagAll(songbase::DiscsOfBrand(1)); });
    EXPECT_THAT(Tags(tags), ElementsAre("AL101/CB7-1/", "AL103/CB9-1/"));
    // Again: only AL102 is left, and the first number is a tag's now.
    d.AnswerMessage("Its Custom Disc ID CB7-1 is already used by another tagged disc", fw::Button::Ok);
    OnThread([this] { Tagging().TagAll(songbase::DiscsOfBrand(1)); });
    EXPECT_THAT(Tags(tags), ElementsAre("AL101/CB7-1/", "AL103/CB9-1/"));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

// A refused start number was replaced by the proposal without a word.
TEST_F(TaggingTest, MultiTagOptionsRefusesAStartNumberItCannotTakeAndKeepsTheOneTyped) {
    MakeBook("Party", {{"ZZ1", "41"}}, {});
    bool confirmed = false;
    OnThread([&] { confirmed = songbase::MultiTagOptions(tags); });
    ASSERT_TRUE(d.IsOpen("P1$MULTITAGOPTIONS"));
    d.Choose("?BATCHADDTYPE", 1);
    EXPECT_EQ(Trimmed(d.Text("?BATCHSTARTINGNUMBER")), "42");
    for (const char* typed : {"12x", "1000000000", "-3"}) {
        SCOPED_TRACE(typed);
        d.AnswerMessage("Please enter a number from 0 to 999999999.", fw::Button::Ok);
        d.Type("?BATCHSTARTINGNUMBER", typed);
        d.AnswerMessage("Please enter a number from 0 to 999999999.", fw::Button::Ok);
        d.Press("?OKBUTTON");
        EXPECT_EQ(d.UnusedAnswers(), 0u);
        EXPECT_TRUE(d.IsOpen("P1$MULTITAGOPTIONS"));
        EXPECT_EQ(songbase::BATCHSTARTINGNUMBER, 42u);
    }
    // The largest numbers show whole.
    d.Type("?BATCHSTARTINGNUMBER", "999999999");
    EXPECT_EQ(Trimmed(d.Text("?BATCHSTARTINGNUMBER")), "999,999,999");
    if (const char* dir = std::getenv("CV_SCREENSHOT_DIR"); dir && *dir) {
        EXPECT_TRUE(d.Screenshot("P1$MULTITAGOPTIONS", std::string(dir) + "/P1$MULTITAGOPTIONS.png"));
    }
    d.Press("?OKBUTTON");
    EXPECT_FALSE(d.IsOpen("P1$MULTITAGOPTIONS"));
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(songbase::BATCHSTARTINGNUMBER, 999999999u);
}

TEST_F(TaggingTest, CancelledOptionsTagNothing) {
    MakeBook("Party", {}, {});
    confirmed = false;
    OnThread([this] { Tagging().TagAll(songbase::DiscsOfBrand(1)); });
    EXPECT_TRUE(tags.Empty());
}

TEST_F(TaggingTest, TheManufacturersIdsTagEveryDiscOnce) {
    MakeBook("Party", {}, {});
    method = 3;
    OnThread([this] {
        auto tagging = Tagging();
        tagging.TagAll(songbase::DiscsOfBrand(1));
        tagging.TagAll(songbase::DiscsOfBrand(1));
    });
    EXPECT_THAT(Tags(tags), ElementsAre("AL101/AL101/", "AL102/AL102/", "AL103/AL103/"));
}

TEST_F(TaggingTest, OneAtATimeKeepsEachDiscsGenreAndSkipsACancelledPrompt) {
    MakeBook("Party", {}, {});
    method = 2;
    int asked = 0;
    OnThread([&] {
        Tagging([&](std::string_view unq, const shell::TagList&) -> std::optional<shell::TagEntry> {
            if (++asked == 2) return std::nullopt;
            return shell::TagEntry{std::string(unq), "N" + std::to_string(asked), 0, asked == 1 ? "Rock" : ""};
        }).TagAll(songbase::DiscsOfBrand(1));
    });
    EXPECT_EQ(asked, 3);
    EXPECT_THAT(Tags(tags), ElementsAre("AL101/N1/Rock", "AL103/N3/"));
}

TEST_F(TaggingTest, UntagAllKeepsOtherBrandsAndReverseDropsThem) {
    MakeBook("Party", {{"ZZ1", "102"}}, {});
    tags.Add({"BE201", "B1", 0, ""});
    tags.Add({"AL101", "A1", 0, ""});
    OnThread([this] { Tagging().UntagAll(songbase::DiscsOfBrand(1)); });
    EXPECT_THAT(Tags(tags), ElementsAre("BE201/B1/"));

    tags.Add({"AL101", "A1", 0, ""});
    // AL101 was tagged; AL102's printed number is used in the book.
    d.AnswerMessage("Its Custom Disc ID 102 is already used in this SongBook", fw::Button::Ok);
    OnThread([this] { Tagging().Reverse(songbase::DiscsOfBrand(1)); });
    EXPECT_THAT(Tags(tags), ElementsAre("AL103/103/"));

    // BE202 has no printed number.
    d.AnswerMessage("Its Custom Disc ID would be blank", fw::Button::Ok);
    OnThread([this] { Tagging().Reverse(songbase::DiscsOfBrand(2)); });
    EXPECT_THAT(Tags(tags), ElementsAre("BE201/201/"));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

TEST_F(TaggingTest, TagTogglesAndRefusesADiscInTheBook) {
    MakeBook("Party", {{"AL102", "7"}}, {});
    bool cancel = true;
    const auto prompt = [&](std::string_view unq, const shell::TagList&) -> std::optional<shell::TagEntry> {
        if (cancel) return std::nullopt;
        return shell::TagEntry{std::string(unq), "44", 0, "Pop"};
    };
    OnThread([&] { Tagging(prompt).Toggle({"AL101", "101"}); });
    EXPECT_TRUE(tags.Empty());
    cancel = false;
    OnThread([&] { Tagging(prompt).Toggle({"AL101", "101"}); });
    EXPECT_THAT(Tags(tags), ElementsAre("AL101/44/Pop"));
    OnThread([&] { Tagging(prompt).Toggle({"AL101", "101"}); });
    EXPECT_TRUE(tags.Empty());
    d.AnswerMessage("Custom Disc ID: 7", fw::Button::Ok);
    OnThread([&] { Tagging(prompt).Toggle({"AL102", "102"}); });
    EXPECT_TRUE(tags.Empty());
}

TEST_F(TaggingTest, WhatHappensWhileThePromptWaitsIsCheckedAfterwards) {
    MakeBook("Party", {}, {});
    // Another window tags the disc, and another takes the ID, while the prompt is up.
    OnThread([&] {
        Tagging([&](std::string_view unq, const shell::TagList&) -> std::optional<shell::TagEntry> {
            tags.Add({std::string(unq), "1", 0, ""});
            return shell::TagEntry{std::string(unq), "2", 0, ""};
        }).Toggle({"AL101", "101"});
    });
    EXPECT_THAT(Tags(tags), ElementsAre("AL101/1/"));
    d.AnswerMessage("Its Custom Disc ID 5 is already used by another tagged disc", fw::Button::Ok);
    OnThread([&] {
        Tagging([&](std::string_view unq, const shell::TagList&) -> std::optional<shell::TagEntry> {
            tags.Add({"BE201", "5", 0, ""});
            return shell::TagEntry{std::string(unq), "5", 0, ""};
        }).Toggle({"AL102", "102"});
    });
    EXPECT_EQ(tags.FindDisc("AL102"), nullptr);
}

TEST_F(TaggingTest, WithTheQuerySkippedNoWindowOpensAndDiscsKeepTheirManufacturersIds) {
    MakeBook("Party", {}, {});
    songbase::SKIPALTDISKID = 1;
    OnThread([this] {
        songbase::MfrDiscTagging tagging(tags, songbase::CustomDiscId, songbase::MultiTagOptions);
        tagging.Toggle({"BE201", "201"});
        tagging.TagAll(songbase::DiscsOfBrand(1));
    });
    EXPECT_EQ(songbase::BATCHADDTYPE, 3);
    EXPECT_THAT(Tags(tags), ElementsAre("AL101/AL101/", "AL102/AL102/", "AL103/AL103/", "BE201/BE201/"));
    EXPECT_EQ(d.Messages().size(), 0u);
}

}  // namespace
}  // namespace add_discs_test
