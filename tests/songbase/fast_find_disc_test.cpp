// FastFind through the test driver, started from the add-discs window of
// the song-book window as a user reaches it.
#include "song_base_fixture.h"

#include "platform/ui/events.h"
#include "platform/ui/message.h"
#include "songbase/custom_disc_ids.h"
#include "songbase/song_base_pick_lists.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QWindow>
#include <QtTest/QTest>

#include <cstdlib>

using namespace song_base_test;
using Strings = std::vector<std::string>;

namespace {

constexpr const char* kAddDiscs = "P1$ADDMFRDISCS";
constexpr const char* kFastFind = "P1$FASTFIND";
constexpr const char* kPrompt = "P1$CUSTOMDISCID";

class FastFindTest : public SongBaseTest {
protected:
    void SetUp() override {
        SongBaseTest::SetUp();
        songbase::ForgetSongBasePickLists();
        songbase::SKIPALTDISKID = 0;
        MakeSongBase({{"Love Me Tender", "Elvis", "SC100", 1, 1},
                      {"Hound Dog", "Elvis", "SC100", 2, 1},
                      {"LOVE ME TENDER", "Elvis", "KB200", 1, 2},
                      {"love me tender", "Elvis", "AB300", 1, 3},
                      {"Crazy", "Patsy Cline", "SC555", 1, 1},
                      {"Love Me Tender", "Elvis", "SC555", 4, 1}},
                     {{1, "Sound Choice"}, {2, "Karaoke Bay"}, {3, "All Brands"}});
        MakeDiscs({{1, "SC100", "100"}, {1, "SC555", "555"}, {2, "KB200", "200"}, {3, "AB300", "300"}});
        MakeBook("Party", {{"AB300", "A3", 3, "AB"}}, {{"Love Me Tender", "Elvis", "AB300", 1}});
        Open();
        d.Press("?CANTORVALE", song_book_test::kSongBookWindow);
        ASSERT_TRUE(d.IsOpen(kAddDiscs));
        ASSERT_TRUE(d.Enabled("?BUTTON14", kAddDiscs));
    }
    void TearDown() override {
        for (const char* w : {kPrompt, kDiscTracksWindow, kFastFind, kAddDiscs})
            for (int i = 0; i < 3 && d.IsOpen(w); ++i) d.CloseWindow(w);
        songbase::SKIPALTDISKID = 0;
        SongBaseTest::TearDown();
    }
    void StartFastFind() {
        d.Press("?BUTTON14", kAddDiscs);
        ASSERT_TRUE(d.IsOpen(kFastFind));
    }
    void Search(const std::string& title) {
        d.Type("?STI:TITLE", title, kFastFind);
        d.Press("?BUTTON6", kFastFind);
    }
    void ChooseDisc(const std::string& unq) {
        const Strings rows = d.Rows("?LIST", kFastFind);
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].rfind(unq + "|", 0) == 0) {
                d.Choose("?LIST", static_cast<int>(i) + 1, kFastFind);
                return;
            }
        ADD_FAILURE() << unq << " not listed";
    }
    Strings Tagged() {
        d.Activate(kAddDiscs);
        return d.Rows("?LIST:4", kAddDiscs);
    }
};

TEST_F(FastFindTest, FindsTheDiscsWhoseFirstTrackHasTheTitleInAnyCaseAndTagsOneWithItsCustomId) {
    StartFastFind();
    // A blank title finds nothing: it is refused.
    d.AnswerMessage("Please enter the Song Title", fw::Button::Ok);
    d.Press("?BUTTON6", kFastFind);
    EXPECT_TRUE(d.Rows("?LIST", kFastFind).empty());

    Search("love ME tender");
    EXPECT_EQ(d.Text("?STI:TITLE", kFastFind), "Love Me Tender");
    // Three brands have it as track 1; the disc with it as track 4 is not listed.
    EXPECT_EQ(d.Rows("?LIST", kFastFind), (Strings{"SC100|Sound Choice", "KB200|Karaoke Bay", "AB300|All Brands"}));

    // A candidate's tracks, then back.
    ChooseDisc("SC100");
    d.Press("?CHANGE", kFastFind);
    ASSERT_TRUE(d.IsOpen(kDiscTracksWindow));
    EXPECT_EQ(d.Rows("?LIST", kDiscTracksWindow).size(), 2u);
    d.Press("?CLOSE", kDiscTracksWindow);
    d.Key("?LIST", fw::KeyCode::CtrlEnter, kFastFind);  // the same from the list
    ASSERT_TRUE(d.IsOpen(kDiscTracksWindow));
    d.Press("?CLOSE", kDiscTracksWindow);

    // Tagging asks the custom disc ID, adds the tag and returns.
    d.Press("?TAGBUTTON", kFastFind);
    ASSERT_TRUE(d.IsOpen(kPrompt));
    d.Type("?DISKID", "77", kPrompt);
    d.Press("?OKBUTTON", kPrompt);
    EXPECT_FALSE(d.IsOpen(kFastFind));
    EXPECT_EQ(Tagged(), (Strings{"SC100|77"}));

    // The same disc again: said so, and the window stays.
    StartFastFind();
    Search("Love Me Tender");
    ChooseDisc("SC100");
    d.AnswerMessage("Disc already tagged for autoentry.", fw::Button::Ok);
    d.Press("?TAGBUTTON", kFastFind);
    EXPECT_TRUE(d.IsOpen(kFastFind));

    // A cancelled prompt returns without a tag.
    ChooseDisc("KB200");
    d.Press("?TAGBUTTON", kFastFind);
    d.Press("?CANCELBUTTON", kPrompt);
    EXPECT_FALSE(d.IsOpen(kFastFind));
    EXPECT_EQ(Tagged(), (Strings{"SC100|77"}));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

TEST_F(FastFindTest, OneClickOnSearchWhileTheTitlesAreOfferedSearches) {
    StartFastFind();
    fw::Window* w = d.FindWindow(kFastFind);
    auto* combo = qobject_cast<QComboBox*>(w->Find("?STI:TITLE")->Widget());
    ASSERT_NE(combo, nullptr);
    d.TypeKeys("?STI:TITLE", "love me tender");
    ASSERT_TRUE(combo->completer()->popup()->isVisible());
    // The click as the window system gives it: to the window, press and release.
    QWidget* top = w->Root()->window();
    QWidget* search = w->Find("?BUTTON6")->Widget();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, search->mapTo(top, search->rect().center()));
    d.Settle();
    EXPECT_FALSE(combo->completer()->popup()->isVisible());
    EXPECT_EQ(d.Text("?STI:TITLE", kFastFind), "Love Me Tender");
    EXPECT_EQ(d.Rows("?LIST", kFastFind), (Strings{"SC100|Sound Choice", "KB200|Karaoke Bay", "AB300|All Brands"}));
}

TEST_F(FastFindTest, ADiscTheBookHasIsRefusedWithTheSharedMessage) {
    StartFastFind();
    Search("LOVE ME TENDER");
    ChooseDisc("AB300");
    d.AnswerMessage("This disc has already been added to this SongBook.||Custom Disc ID: A3", fw::Button::Ok);
    const int before = beeps;
    d.Press("?TAGBUTTON", kFastFind);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_GT(beeps, before);
    EXPECT_FALSE(d.IsOpen(kFastFind));
    EXPECT_TRUE(Tagged().empty());
}

TEST_F(FastFindTest, ADiscTaggedElsewhereWhileThePromptWaitsIsTaggedOnce) {
    StartFastFind();
    Search("Love Me Tender");
    ChooseDisc("SC100");
    d.Press("?TAGBUTTON", kFastFind);
    ASSERT_TRUE(d.IsOpen(kPrompt));
    // Meanwhile the add-discs window tags the same disc, without asking.
    d.Activate(kAddDiscs);
    d.Check("?SKIPALTDISKID", true, kAddDiscs);
    d.Choose("?LIST", 3, kAddDiscs);  // Sound Choice
    d.Choose("?LIST:2", 1, kAddDiscs);
    d.Press("?DASTAG", kAddDiscs);
    EXPECT_EQ(Tagged(), (Strings{"SC100|SC100"}));
    // The prompt's answer finds the disc tagged: no second tag.
    d.Activate(kPrompt);
    d.Type("?DISKID", "77", kPrompt);
    d.Press("?OKBUTTON", kPrompt);
    EXPECT_FALSE(d.IsOpen(kFastFind));
    EXPECT_EQ(Tagged(), (Strings{"SC100|SC100"}));
}

TEST_F(FastFindTest, FastFindWindowsCloseWithTheirAddDiscsWindow) {
    StartFastFind();
    d.Activate(kAddDiscs);
    StartFastFind();  // any number of them
    Search("Crazy");
    EXPECT_EQ(d.Rows("?LIST", kFastFind), (Strings{"SC555|Sound Choice"}));
    d.CloseWindow(kAddDiscs);
    EXPECT_FALSE(d.IsOpen(kAddDiscs));
    EXPECT_FALSE(d.IsOpen(kFastFind));
}

}  // namespace

namespace {

TEST_F(FastFindTest, ScreenshotWhenAsked) {
    const char* dir = std::getenv("CV_SCREENSHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "CV_SCREENSHOT_DIR not set";
    StartFastFind();
    Search("love me tender");
    ChooseDisc("KB200");
    EXPECT_TRUE(d.Screenshot(kFastFind, std::string(dir) + "/" + kFastFind + ".png"));
}

}  // namespace
