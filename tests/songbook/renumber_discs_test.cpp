// Renumber Disc(s) through the song-book window: the custom ID typed over
// in the list's cell and its save rules, the two orders, the locator and
// "&Delete Disc".

#include "songbook/renumber_discs.h"
#include "songbook/songbook_procedures.h"

#include "platform/ui/events.h"
#include "platform/ui/message.h"
#include "platform/ui/window.h"
#include "shell/program_procedures.h"

#include "song_book_window_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
constexpr const char* kBook = song_book_test::kSongBookWindow;
constexpr const char* kRenumber = "P1$RENUMBERDISCS";

class RenumberDiscsTest : public song_book_test::SongBookWindowTest {
protected:
    void SetUp() override {
        SongBookWindowTest::SetUp();
        songbook::RegisterSongBookProcedures();
        MakeBook("Party", {{"A1", "AB-1"}, {"B2", "CD-2"}, {"C3", "EF-3"}},
                 {{"One", "Singer", "A1", 1}, {"Two", "Singer", "B2", 1}, {"Three", "Singer", "b2", 2},
                  {"Four", "Singer", "B2", 3}, {"Five", "Singer", "C3", 1}});
        Open();
        d.Press("?RENUMBERDISCS:2", kBook);
        ASSERT_TRUE(d.IsOpen(kRenumber));
    }
    void TearDown() override {
        if (d.IsOpen(kRenumber)) d.Press("?CLOSE", kRenumber);
        shell::SetProgramProcedure("RenumberDiscs", nullptr);
        SongBookWindowTest::TearDown();
    }
    Strings Rows() { return d.Rows("?LIST", kRenumber); }
    // The stored custom IDs and each disc's revision (bumped by every write).
    Strings Stored() { return Query("Party.2bd", "SELECT UNQDISKID, ALTDISKID, _rev FROM records ORDER BY _id"); }
    Strings Listings() {
        Strings rows = Query("Party.2bk", "SELECT UnqDiskID, DISKTRACKNO FROM records");
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    // The open cell of the list: its text and column.
    fw::PropValue ListProp(fw::Prop prop) {
        fw::Window* w = d.FindWindow(kRenumber);
        return w ? w->Get(prop, w->Feq("?LIST")) : fw::PropValue();
    }
    std::string Cell() { return ListProp(fw::Prop::EditText).Str(); }
    int CellColumn() { return ListProp(fw::Prop::EditColumn).Int(); }
    void TypeAndPress(const std::string& text, int key) {
        d.Type("?LIST", text, kRenumber);
        d.Key("?LIST", key, kRenumber);
    }
};

TEST_F(RenumberDiscsTest, OpensOnTheFirstDiscWithItsCustomIdReadyForTyping) {
    EXPECT_EQ(Rows(), (Strings{"A1|AB-1", "B2|CD-2", "C3|EF-3"}));
    EXPECT_EQ(d.Highlight("?LIST", kRenumber), 1);
    EXPECT_EQ(CellColumn(), 2);
    EXPECT_EQ(Cell(), "AB-1");
}

TEST_F(RenumberDiscsTest, SaveRules) {
    const Strings before = Stored();
    TypeAndPress("AB-1", fw::KeyCode::Enter);
    EXPECT_EQ(Stored(), before) << "the same ID: nothing written";

    d.AnswerMessage("ERROR: Alternate Disc ID Cannot be Blank!", fw::Button::Ok);
    TypeAndPress("", fw::KeyCode::Down);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(Stored(), before);
    EXPECT_EQ(d.Highlight("?LIST", kRenumber), 1) << "a refused save does not move on";

    d.AnswerMessage("ERROR: Alternate Disc ID Already in Use!", fw::Button::Ok);
    TypeAndPress("cd-2", fw::KeyCode::Enter);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(Stored(), before) << "in use in another letter case";
    EXPECT_EQ(Cell(), "AB-1") << "the stored ID shows again";

    TypeAndPress("XY-7", fw::KeyCode::Down);
    EXPECT_EQ(Rows(), (Strings{"A1|XY-7", "B2|CD-2", "C3|EF-3"}));
    EXPECT_EQ(d.Highlight("?LIST", kRenumber), 2) << "saved, then moved on";
    EXPECT_EQ(Cell(), "CD-2");

    // Delete edits the text: the disc and its listings stay.
    d.Key("?LIST", fw::KeyCode::Delete, kRenumber);
    EXPECT_EQ(Rows().size(), 3u);
    EXPECT_EQ(Listings().size(), 5u);

    TypeAndPress("ZZ-9", fw::KeyCode::Esc);
    EXPECT_FALSE(d.IsOpen(kRenumber)) << "Esc saves, then closes";
    EXPECT_EQ(Query("Party.2bd", "SELECT ALTDISKID FROM records ORDER BY _id"),
              (Strings{"XY-7", "ZZ-9", "EF-3"}));
    EXPECT_TRUE(d.IsOpen(kBook));
}

TEST_F(RenumberDiscsTest, AClickOnAnotherRowSavesFirstAndPicksTheColumnClicked) {
    d.Type("?LIST", "NEW-1", kRenumber);
    d.Choose("?LIST", 3, kRenumber);  // on its Original ID
    EXPECT_EQ(Rows(), (Strings{"A1|NEW-1", "B2|CD-2", "C3|EF-3"}));
    EXPECT_EQ(d.Highlight("?LIST", kRenumber), 3);
    EXPECT_EQ(CellColumn(), 1);
    EXPECT_EQ(Cell(), "C3");
    d.Key("?LIST", fw::KeyCode::Right, kRenumber);
    EXPECT_EQ(CellColumn(), 2);
    EXPECT_EQ(Cell(), "EF-3");
}

TEST_F(RenumberDiscsTest, CustomIdTabListsByCustomIdAndFollowsARenumberedDisc) {
    d.Choose("?CURRENTTAB", 2, kRenumber);
    EXPECT_EQ(Rows(), (Strings{"A1|AB-1", "B2|CD-2", "C3|EF-3"}));
    TypeAndPress("ZZ", fw::KeyCode::Enter);
    EXPECT_EQ(Rows(), (Strings{"B2|CD-2", "C3|EF-3", "A1|ZZ"}));
    EXPECT_EQ(d.Highlight("?LIST", kRenumber), 3) << "the list is read again at the disc";

    // In the read-only Original ID column a typed character finds a disc.
    d.Key("?LIST", fw::KeyCode::Left, kRenumber);
    EXPECT_EQ(Cell(), "A1");
    d.Choose("?CURRENTTAB", 1, kRenumber);
    d.Key("?LIST", fw::KeyCode::Home, kRenumber);
    d.Key("?LIST", 'C', kRenumber);
    EXPECT_EQ(d.Highlight("?LIST", kRenumber), 3);
    EXPECT_EQ(Cell(), "C3");
}

TEST_F(RenumberDiscsTest, DeleteDiscFailingMidwayLeavesEverythingThenDeletesInOneGo) {
    Sql("Party.2bk", "CREATE TRIGGER fail_third BEFORE DELETE ON records WHEN old.DISKTRACKNO = 3 "
                     "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    const Strings listings = Listings();
    d.Key("?LIST", fw::KeyCode::Down, kRenumber);  // B2: three listings, one filed as "b2"
    d.AnswerMessage(songbook::kDeleteDiscQuestion, 1);
    d.AnswerMessage("disk full", fw::Button::Ok);
    d.AnswerMessage("An error was experienced deleting this record", fw::Button::No);
    d.Press("?BUTTON6", kRenumber);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(Listings(), listings);
    EXPECT_EQ(Rows().size(), 3u);
    for (const std::string& m : d.Messages()) EXPECT_EQ(m.find("successfully"), std::string::npos) << m;

    Sql("Party.2bk", "DROP TRIGGER fail_third");
    d.AnswerMessage(songbook::kDeleteDiscQuestion, 2);  // "No Cancel"
    d.Press("?BUTTON6", kRenumber);
    EXPECT_EQ(Rows().size(), 3u);

    d.AnswerMessage(songbook::kDeleteDiscQuestion, 1);
    d.AnswerMessage(songbook::kDiscDeletedText, fw::Button::Ok);
    d.Press("?BUTTON6", kRenumber);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(Rows(), (Strings{"A1|AB-1", "C3|EF-3"}));
    EXPECT_EQ(Listings(), (Strings{"A1/1", "C3/1"})) << "listings in any letter case go with their disc";
}

TEST_F(RenumberDiscsTest, DeletingTheLastDiscLeavesAnEmptyListAndNoDeleteButton) {
    for (int i = 0; i < 3; ++i) {
        d.AnswerMessage(songbook::kDeleteDiscQuestion, 1);
        d.AnswerMessage(songbook::kDiscDeletedText, fw::Button::Ok);
        d.Press("?BUTTON6", kRenumber);
    }
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(Listings().empty());
    EXPECT_FALSE(d.Enabled("?BUTTON6", kRenumber));
}

TEST_F(RenumberDiscsTest, ScreenshotWhenAsked) {
    const char* dir = std::getenv("CV_SCREENSHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "CV_SCREENSHOT_DIR not set";
    d.Key("?LIST", fw::KeyCode::Down, kRenumber);
    d.Type("?LIST", "CD-22", kRenumber);
    EXPECT_TRUE(d.Screenshot(kRenumber, std::string(dir) + "/" + kRenumber + ".png"));
}

}  // namespace
