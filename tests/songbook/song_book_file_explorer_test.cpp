// The SongBook File Explorer driven as a user would: the list, Open,
// Cancel, New, Change Folder, Set as Default, Delete, Move, Backup and
// Restore, with their questions answered from the script.
#include "tests/songbook/explorer_fixture.h"

#include "platform/ui/events.h"
#include "platform/ui/message.h"
#include "songbook/book_texts.h"
#include "songbook/getting_started.h"

#include <cstdlib>

namespace {

using namespace book_test;
namespace text = songbook::text;
using Listed = std::vector<std::string>;

TEST_F(ExplorerTest, ListsTheFoldersBooksAndOpenReturnsTheChosenBooksPath) {
    fs::create_directory(books() / "x.2bk");  // a folder, not a book
    WriteFile(books() / "y.xbk", "not a book");
    StartExplorer();
    EXPECT_EQ(d.Rows("?LIST"), (Listed{"a", "B", "my.book"}));
    EXPECT_EQ(d.Text("?LONGNEWPATH"), Program(books()));
    EXPECT_EQ(fs::current_path(), books()) << "the listed folder is the current folder";

    d.AnswerMessage(text::kSelectToOpen, fw::Button::Ok);
    d.Press("?BUTTON6");
    EXPECT_FALSE(ended) << "nothing selected: the explorer stays";

    d.Choose("?LIST", 3);
    d.Press("?BUTTON6");
    EXPECT_TRUE(ended);
    EXPECT_EQ(result, Program(books() / "my.book.2bk"));
    EXPECT_EQ(songbook::ShortSongBookName, "my.book.2bk");
}

TEST_F(ExplorerTest, AnOlderBookOpensByItsOwnPath) {
    StartExplorer();
    d.Choose("?LIST", 2);
    d.Press("?BUTTON6");
    EXPECT_EQ(result, Program(books() / "B.SBK"));
}

TEST_F(ExplorerTest, CancelAndTheCloseBoxReturnBlank) {
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Cancel");
        ended = false;
        StartExplorer();
        d.Choose("?LIST", 1);
        if (closeBox) d.CloseWindow(kExplorer);
        else d.Press("?BUTTON11");
        EXPECT_TRUE(ended);
        EXPECT_EQ(result, "");
    }
}

TEST_F(ExplorerTest, NewRefusesATakenOrInvalidNameWithABeepThenReturnsTheNewPath) {
    StartExplorer();
    d.Press("?BUTTON5");
    ASSERT_TRUE(d.IsOpen("P1$NEWSONGBOOKNAME"));
    struct Case {
        const char* name;
        std::string_view status;
    } refused[] = {
        {"a", text::kNewNameInUse},
        {"A", text::kNewNameInUse},  // the folder's names, whatever their case
        {"a/b", text::kInvalidName},
        {"  ", text::kInvalidName},
        {"..", text::kInvalidName},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        beeps.clear();
        d.Type("?GLO:SHORTSONGBOOKNAME", c.name);
        d.Press("?OKBUTTON");
        EXPECT_TRUE(d.IsOpen("P1$NEWSONGBOOKNAME"));
        EXPECT_EQ(d.Text("?STATUSMESSAGE", "P1$NEWSONGBOOKNAME"), c.status);
        EXPECT_EQ(beeps, (std::vector<unsigned>{fw::BeepSystemDefault}));
    }
    d.Type("?GLO:SHORTSONGBOOKNAME", "party.night");
    d.Press("?OKBUTTON");
    EXPECT_TRUE(ended);
    EXPECT_EQ(result, Program(books() / "party.night.2bk"));
    EXPECT_FALSE(fs::exists(books() / "party.night.2bk")) << "the caller creates the book";
}

TEST_F(ExplorerTest, NewClosedByCancelOrItsCloseBoxLeavesTheExplorerOpen) {
    StartExplorer();
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Cancel");
        d.Choose("?LIST", 1);
        d.Press("?BUTTON5");
        d.Type("?GLO:SHORTSONGBOOKNAME", "Typed");
        if (closeBox) d.CloseWindow("P1$NEWSONGBOOKNAME");
        else d.Press("?CANCELBUTTON");
        EXPECT_FALSE(d.IsOpen("P1$NEWSONGBOOKNAME"));
        EXPECT_FALSE(ended);
        EXPECT_EQ(songbook::ShortSongBookName, "");
        EXPECT_EQ(songbook::SelectedBookPath, "") << "New clears the selection";
    }
}

// Typed as a person types: Escape is Cancel, Enter is OK.
TEST_F(ExplorerTest, NewTakesEnterForOkAndEscapeForCancel) {
    StartExplorer();
    d.Press("?BUTTON5");
    d.TypeKeys("?GLO:SHORTSONGBOOKNAME", "Zed");
    d.Key("?GLO:SHORTSONGBOOKNAME", fw::KeyCode::Esc, "P1$NEWSONGBOOKNAME");
    EXPECT_FALSE(d.IsOpen("P1$NEWSONGBOOKNAME"));
    EXPECT_FALSE(ended);

    d.Press("?BUTTON5");
    d.TypeKeys("?GLO:SHORTSONGBOOKNAME", "party");
    d.Key("?GLO:SHORTSONGBOOKNAME", fw::KeyCode::Enter, "P1$NEWSONGBOOKNAME");
    EXPECT_TRUE(ended);
    EXPECT_EQ(result, Program(books() / "party.2bk"));
}

TEST_F(ExplorerTest, ButtonsThatNeedABookAskForOneFirst) {
    struct Case {
        const char* button;
        std::string_view request;
    } cases[] = {
        {"?BUTTON6", text::kSelectToOpen},   {"?BUTTON3", text::kSelectToRename},
        {"?BUTTON4", text::kSelectToDelete}, {"?BUTTON9", text::kSelectToMove},
        {"?BUTTON7", text::kSelectToBackup},
    };
    StartExplorer();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        d.AnswerMessage(c.request, fw::Button::Ok);
        d.Press(c.button);
        EXPECT_EQ(d.UnusedAnswers(), 0u);
        EXPECT_FALSE(ended);
    }
    EXPECT_EQ(Contents(books()).size(), 6u) << "no file touched";
}

TEST_F(ExplorerTest, DeleteAsksThenRemovesBothFilesAndClearsTheSelection) {
    StartExplorer();
    d.Choose("?LIST", 1);
    const std::string question = std::string(text::kConfirmDelete) + Program(books() / "a");
    d.AnswerMessage(question, fw::Button::No);
    d.Press("?BUTTON4");
    EXPECT_TRUE(fs::exists(books() / "a.2bk"));
    EXPECT_TRUE(beeps.empty());

    d.AnswerMessage(question, fw::Button::Yes);
    d.Press("?BUTTON4");
    EXPECT_FALSE(fs::exists(books() / "a.2bk"));
    EXPECT_FALSE(fs::exists(books() / "a.2bd"));
    EXPECT_EQ(d.Rows("?LIST"), (Listed{"B", "my.book"}));
    EXPECT_EQ(d.Text("?STATUSMESSAGE"), text::kDeleted);
    EXPECT_EQ(beeps, (std::vector<unsigned>{fw::BeepSystemAsterisk}));

    // Open must not hand back the book just deleted.
    d.AnswerMessage(text::kSelectToOpen, fw::Button::Ok);
    d.Press("?BUTTON6");
    EXPECT_FALSE(ended);
}

TEST_F(ExplorerTest, DeleteThatFailsSaysSoAndKeepsTheBook) {
    StartExplorer();
    d.Choose("?LIST", 1);
    FailingOps fail([](const std::string& op, const std::string& from, const std::string&) {
        return op == "rename" && EndsWith(from, "a.2bd");
    });
    d.AnswerMessage(text::kConfirmDelete, fw::Button::Yes);
    d.AnswerMessage(text::kUnableToDelete, fw::Button::Ok);
    d.Press("?BUTTON4");
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_TRUE(fs::exists(books() / "a.2bk"));
    EXPECT_TRUE(fs::exists(books() / "a.2bd"));
    EXPECT_NE(d.Text("?STATUSMESSAGE"), text::kDeleted);
    EXPECT_TRUE(beeps.empty());
}

TEST_F(ExplorerTest, MoveTakesTheBookToTheChosenFolderAndAsksBeforeReplacing) {
    StartExplorer();
    d.Choose("?LIST", 1);
    d.AnswerFileDialog(Program(books()));
    d.AnswerMessage(text::kAlreadyInFolder, fw::Button::Ok);
    d.Press("?BUTTON9");
    EXPECT_TRUE(fs::exists(books() / "a.2bk")) << "a move into its own folder is refused";

    MakeBook(other(), "a.2bk", "a.2bd");
    const Files before = Contents(root());
    const Files rows = RowsIn(books());
    d.AnswerFileDialog(Program(other()));
    d.AnswerMessage(text::ReplaceQuestion("a"), fw::Button::No);
    d.Press("?BUTTON9");
    EXPECT_EQ(Contents(root()), before) << "kept: nothing moves";

    d.AnswerFileDialog(Program(other()));
    d.AnswerMessage(text::ReplaceQuestion("a"), fw::Button::Yes);
    d.Press("?BUTTON9");
    // Copied through SQLite: the same rows.
    EXPECT_EQ(RowsIn(other()).at("a.2bk"), rows.at("a.2bk"));
    EXPECT_EQ(RowsIn(other()).at("a.2bd"), rows.at("a.2bd"));
    EXPECT_FALSE(fs::exists(books() / "a.2bk"));
    EXPECT_EQ(d.Rows("?LIST"), (Listed{"B", "my.book"}));
    EXPECT_EQ(d.Text("?STATUSMESSAGE"), text::kMoved);
    EXPECT_EQ(beeps, (std::vector<unsigned>{fw::BeepSystemDefault}));
    EXPECT_EQ(songbook::SelectedBookPath, "");
}

TEST_F(ExplorerTest, BackupThenRestoreBringsTheBookBackAndAsksBeforeReplacing) {
    StartExplorer();
    const Files original = Contents(books());
    d.Choose("?LIST", 1);
    d.AnswerFileDialog("");  // cancelled: nothing happens
    d.Press("?BUTTON7");
    EXPECT_FALSE(fs::exists(other() / "a.bkp"));

    d.AnswerFileDialog(Program(other()));
    d.Press("?BUTTON7");
    EXPECT_TRUE(fs::exists(other() / "a.bkp"));
    EXPECT_EQ(d.Text("?STATUSMESSAGE"), text::kBackupCreated);
    EXPECT_EQ(beeps, (std::vector<unsigned>{fw::BeepSystemAsterisk}));

    d.AnswerMessage(text::kConfirmDelete, fw::Button::Yes);
    d.Press("?BUTTON4");
    ASSERT_FALSE(fs::exists(books() / "a.2bk"));

    d.AnswerFileDialog(Program(other() / "a.bkp"));
    d.Press("?BUTTON8");
    EXPECT_EQ(d.Text("?STATUSMESSAGE"), text::kRestored);
    EXPECT_EQ(d.Rows("?LIST"), (Listed{"a", "B", "my.book"}));
    EXPECT_EQ(Rows(books() / "a.2bk"), "a.2bk 1\na.2bk 2\na.2bk 3\n");
    EXPECT_EQ(Rows(books() / "a.2bd"), "a.2bd 1\na.2bd 2\na.2bd 3\n");

    // The book is there now: a restore asks, and a book kept stays as it is.
    WriteFile(books() / "marker", "");
    const Files before = Contents(books());
    d.AnswerFileDialog(Program(other() / "a.bkp"));
    d.AnswerMessage(text::ReplaceQuestion("a"), fw::Button::No);
    d.Press("?BUTTON8");
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(Contents(books()), before);
    EXPECT_EQ(d.Text("?STATUSMESSAGE"), "");
}

TEST_F(ExplorerTest, ARestoreOfABadArchiveShowsTheReasonAndChangesNothing) {
    WriteFile(other() / "bad.bkp", "this is not a zip archive");
    StartExplorer();
    const Files before = Contents(books());
    d.AnswerFileDialog(Program(other() / "bad.bkp"));
    d.AnswerMessage("Not a zip archive", fw::Button::Ok);
    d.Press("?BUTTON8");
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(Contents(books()), before);
    EXPECT_NE(d.Text("?STATUSMESSAGE"), text::kRestored);
    EXPECT_TRUE(beeps.empty());
}

TEST_F(ExplorerTest, ChangeFolderListsTheNewFolderAndSetAsDefaultSavesIt) {
    MakeBook(other(), "Karaoke Night.2bk", "Karaoke Night.2bd");
    StartExplorer();
    d.AnswerFileDialog(Program(other()));
    d.Press("?BUTTON2");
    EXPECT_EQ(d.Rows("?LIST"), (Listed{"Karaoke Night"}));
    EXPECT_EQ(d.Text("?LONGNEWPATH"), Program(other()));
    EXPECT_EQ(songbook::SavedDefaultFolder(), Program(books())) << "a change of folder is not saved";
    d.Press("?BUTTON10");
    EXPECT_EQ(songbook::SavedDefaultFolder(), Program(other()));

    d.Choose("?LIST", 1);
    d.Press("?BUTTON6");
    EXPECT_EQ(result, Program(other() / "Karaoke Night.2bk"));
}

TEST_F(ExplorerTest, WithoutADefaultAFolderChosenWithChangeFolderIsListedWhenOpenedAgain) {
    songbook::SaveDefaultFolder("");
    MakeBook(other(), "Karaoke Night.2bk", "Karaoke Night.2bd");
    StartExplorer();
    d.AnswerFileDialog(Program(other()));
    d.Press("?BUTTON2");
    d.Press("?BUTTON11");  // Cancel
    ASSERT_TRUE(ended);
    ended = false;
    StartExplorer();
    EXPECT_EQ(d.Text("?LONGNEWPATH"), Program(other()));
    EXPECT_EQ(d.Rows("?LIST"), (Listed{"Karaoke Night"}));
}

TEST_F(ExplorerTest, TheListIsReadAgainWhenTheExplorerGetsTheFocusBack) {
    StartExplorer();
    d.Choose("?LIST", 3);
    MakeBook(books(), "Added Elsewhere.2bk", "Added Elsewhere.2bd");
    fs::remove(books() / "my.book.2bk");
    fs::remove(books() / "my.book.2bd");
    d.Press("?BUTTON3");  // Rename, cancelled: the explorer gets the focus back
    d.Press("?BUTTON2", "P1$RENAMESONGBOOK");
    EXPECT_EQ(d.Rows("?LIST"), (Listed{"a", "Added Elsewhere", "B"}));
    EXPECT_EQ(songbook::SelectedBookPath, "") << "the selected book is gone";
}

}  // namespace

namespace {

using namespace book_test;

// A picture of the explorer over a folder of a few books, for a person to
// look at: CV_SCREENSHOT_DIR=/tmp/shots QT_QPA_PLATFORM=xcb xvfb-run -a ...
TEST_F(ExplorerTest, ScreenshotWhenAsked) {
    const char* dir = std::getenv("CV_SCREENSHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "CV_SCREENSHOT_DIR not set";
    for (const char* name : {"Friday Karaoke", "Pub Quiz Night", "Wedding Party"})
        MakeBook(books(), std::string(name) + ".2bk", std::string(name) + ".2bd");
    StartExplorer();
    d.Choose("?LIST", 3);
    d.AnswerFileDialog(Program(other()));
    d.Press("?BUTTON7");  // a backup, so the status line has its text
    EXPECT_TRUE(d.Screenshot(kExplorer, std::string(dir) + "/" + kExplorer + ".png"));
    d.Press("?BUTTON5");
    d.Type("?GLO:SHORTSONGBOOKNAME", "Wedding Party");
    d.Press("?OKBUTTON");
    EXPECT_TRUE(d.Screenshot("P1$NEWSONGBOOKNAME", std::string(dir) + "/P1$NEWSONGBOOKNAME.png"));
    d.Press("?CANCELBUTTON");
    d.Choose("?LIST", 3);
    d.Press("?BUTTON3");
    EXPECT_TRUE(d.Screenshot("P1$RENAMESONGBOOK", std::string(dir) + "/P1$RENAMESONGBOOK.png"));
    d.Press("?BUTTON2", "P1$RENAMESONGBOOK");
    d.Press("?BUTTON11");
    d.Start(songbook::GettingStarted);
    EXPECT_TRUE(d.Screenshot("P1$GETTINGSTARTED", std::string(dir) + "/P1$GETTINGSTARTED.png"));
}

}  // namespace
