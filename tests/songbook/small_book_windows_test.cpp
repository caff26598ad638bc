// Getting Started and Rename SongBook, with the placements they keep in
// songbook.ini.
#include "tests/songbook/explorer_fixture.h"

#include "platform/config/ini_file.h"
#include "platform/text/codepage.h"
#include "platform/ui/layout.h"
#include "platform/ui/message.h"
#include "songbook/book_texts.h"
#include "songbook/getting_started.h"

namespace {

using namespace book_test;
namespace text = songbook::text;
using Listed = std::vector<std::string>;

std::string Kept(const char* section, const char* entry) { return fw::GETINI(section, entry, "", "songbook.ini"); }

TEST_F(ExplorerTest, GettingStartedShowsItsTextsClosesOnOkAndKeepsItsPlacement) {
    fw::PUTINI("gettingstarted", "XPosit", "40", "songbook.ini");
    fw::PUTINI("gettingstarted", "YPosit", "50", "songbook.ini");
    bool done = false;
    d.Start([&] {
        songbook::GettingStarted();
        done = true;
    });
    ASSERT_TRUE(d.IsOpen("P1$GETTINGSTARTED"));
    EXPECT_EQ(placement.geometry.x, 40) << "restored on opening";
    EXPECT_EQ(d.Text("?HEADING"), "Getting Started....");
    EXPECT_EQ(d.Text("?OKBUTTON"), "OK, let's proceed....");
    EXPECT_EQ(d.Text("?STRING12"), "by clicking the \"HELP\" button found on each task screen.");

    placement.geometry = {70, 80, 200, 100};
    d.Press("?OKBUTTON");
    EXPECT_TRUE(done);
    EXPECT_EQ(Kept("gettingstarted", "XPosit"), "70");
    EXPECT_EQ(Kept("gettingstarted", "YPosit"), "80");
}

// Getting Started names the song-book window's buttons by their icons:
// each icon it shows is on a button of that window, next to the text that
// tells where the button is; no text points at a menu bar the window does
// not show them on.
TEST(GettingStartedText, TheButtonsItNamesAreTheSongBookWindowsWithTheirIcons) {
    const fw::WindowLayout help = fw::LoadLayout("P1$GETTINGSTARTED");
    const fw::WindowLayout book = fw::LoadLayout("P1$BROWSEWINDOW");
    struct Case { const char* image; const char* button; const char* where; };
    for (const Case& c : {Case{"?IMAGE1", "?CANTORVALE", "?STRING6"}, Case{"?IMAGE2", "?ADDTRACKS", "?STRING8"}}) {
        SCOPED_TRACE(c.image);
        ASSERT_NE(help.Find(c.image), nullptr);
        ASSERT_NE(book.Find(c.button), nullptr);
        EXPECT_EQ(fw::UpperText(book.Find(c.button)->icon), fw::UpperText(help.Find(c.image)->text));
        EXPECT_EQ(help.Find(c.where)->text.find("menu bar"), std::string::npos) << help.Find(c.where)->text;
    }
    // The first button stands at the top left and the second below it.
    EXPECT_EQ(book.Find("?CANTORVALE")->at.y, 4);
    EXPECT_GT(book.Find("?ADDTRACKS")->at.y, book.Find("?CANTORVALE")->at.y);
    EXPECT_EQ(book.Find("?ADDTRACKS")->at.x, book.Find("?CANTORVALE")->at.x);
}

TEST_F(ExplorerTest, RenameRefusesATakenNameThenRenamesBothFilesAndSelectsTheBook) {
    StartExplorer();
    d.Choose("?LIST", 1);
    d.Press("?BUTTON3");
    ASSERT_TRUE(d.IsOpen("P1$RENAMESONGBOOK"));
    EXPECT_EQ(d.Text("?NEWNAME"), "a") << "prefilled with the book's name";

    d.AnswerMessage(text::kRenameNameInUse, fw::Button::Ok);
    d.Type("?NEWNAME", "my.book");
    d.Press("?BUTTON1");
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_TRUE(d.IsOpen("P1$RENAMESONGBOOK")) << "stays open for another name";

    d.AnswerMessage(text::kInvalidName, fw::Button::Ok);
    d.Type("?NEWNAME", "../up");
    d.Press("?BUTTON1");
    EXPECT_EQ(d.UnusedAnswers(), 0u);

    placement.geometry = {21, 22, 200, 100};
    d.Type("?NEWNAME", "Zed");
    d.Press("?BUTTON1");
    EXPECT_FALSE(d.IsOpen("P1$RENAMESONGBOOK"));
    EXPECT_EQ(Kept("RenameSongBook", "XPosit"), "21");
    EXPECT_TRUE(fs::exists(books() / "Zed.2bk"));
    EXPECT_TRUE(fs::exists(books() / "Zed.2bd"));
    EXPECT_FALSE(fs::exists(books() / "a.2bk"));
    EXPECT_EQ(d.Rows("?LIST"), (Listed{"B", "my.book", "Zed"}));
    EXPECT_EQ(d.Highlight("?LIST"), 3) << "the renamed book stays selected";
    EXPECT_EQ(d.Text("?STATUSMESSAGE"), text::kRenamed);
    EXPECT_EQ(beeps, (std::vector<unsigned>{fw::BeepSystemAsterisk}));
    EXPECT_EQ(songbook::BookRenamed, 1);

    d.Press("?BUTTON6");
    EXPECT_EQ(result, Program(books() / "Zed.2bk"));
}

TEST_F(ExplorerTest, RenameToTheSameNameOrCancelTouchesNothing) {
    StartExplorer();
    const Files before = Contents(books());
    for (const char* button : {"?BUTTON1", "?BUTTON2"}) {  // OK with the name unchanged, Cancel
        SCOPED_TRACE(button);
        d.Choose("?LIST", 1);
        d.Press("?BUTTON3");
        d.Press(button);
        EXPECT_FALSE(d.IsOpen("P1$RENAMESONGBOOK"));
        EXPECT_EQ(songbook::BookRenamed, 0);
        EXPECT_EQ(Contents(books()), before);
        EXPECT_NE(d.Text("?STATUSMESSAGE"), text::kRenamed);
        EXPECT_TRUE(beeps.empty());
    }
}

TEST_F(ExplorerTest, ARenameThatFailsHalfwayKeepsTheBookWhole) {
    StartExplorer();
    const Files before = Contents(books());
    d.Choose("?LIST", 1);
    d.Press("?BUTTON3");
    FailingOps fail([](const std::string& op, const std::string& from, const std::string&) {
        return op == "rename" && EndsWith(from, "a.2bd");
    });
    d.AnswerMessage(text::kUnableToRename, fw::Button::Ok);
    d.Type("?NEWNAME", "Zed");
    d.Press("?BUTTON1");
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(Contents(books()), before);
    d.Press("?BUTTON2");
    EXPECT_EQ(songbook::BookRenamed, 0);
}

}  // namespace
