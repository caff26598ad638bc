// The song-book window as the program opens it: an MDI child of a frame of
// the default size, beside the caption-less panel the frame opens first.
// Geometry, activation after a message box, Tile, the focus and the
// status line are what a person sees of it.
#include "song_book_window_fixture.h"

#include "platform/ui/control.h"
#include "platform/ui/message.h"
#include "platform/ui/window_api.h"
#include "platform/ui/window.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

namespace {

using song_book_test::Disc;
using song_book_test::Listing;
using song_book_test::kSongBookWindow;

constexpr const char* kPanel = "T$PANEL";

class SongBookInFrameTest : public song_book_test::SongBookWindowTest {
protected:
    void SetUp() override {
        SongBookWindowTest::SetUp();
        MakeBook("Party", {{"U1", "MFG-003", 3, "AB"}},
                 {{"Danny Boy", "Trad.", "U1", 1, "", "AB", 70000}, {"Rose", "Ann", "U1", 2, "", "AB", 70001}});
        // The frame of the size the program shows without a window manager,
        // with Window > Tile, and a fixed panel such as Quick Start.
        d.Start([] {
            fw::Window frame(fw::ParseLayout("window T$FRAME\nkind frame\ncaption \"Frame\"\nat 0 0 200 100\n"
                                             "control ?WINDOW menu\n  text \"&Window\"\n"
                                             "control ?TILE item\n  parent ?WINDOW\n  text \"&Tile\"\n  std tile\n"));
            frame.Open();
            frame.Root()->resize(960, 600);
            while (fw::ACCEPT()) {
            }
        });
        d.Start([] {
            fw::Window panel(fw::ParseLayout(std::string("window ") + kPanel +
                                             "\nkind mdi\nat 4 4 212 192\nattr nocaption\n"
                                             "control ?START button\n  text \"Start\"\n  at 16 120 50 15\n"));
            panel.Open();
            while (fw::ACCEPT()) {
            }
        });
        Open();
    }
    void TearDown() override {
        SongBookWindowTest::TearDown();
        d.CloseWindow("T$FRAME");
    }

    fw::Window& Book() { return *d.FindWindow(kSongBookWindow); }
    QMdiSubWindow* Sub(const char* label) { return qobject_cast<QMdiSubWindow*>(d.FindWindow(label)->Root()); }
    QMdiArea* Area() { return Sub(kSongBookWindow)->mdiArea(); }
};

TEST_F(SongBookInFrameTest, EveryControlIsInsideTheClientAreaAndTheWindowInsideTheFrame) {
    fw::Window& book = Book();
    const QRect client = book.Content()->rect();
    for (const auto& c : book.Controls()) {
        QWidget* w = c->Widget();
        if (!w || !w->isVisibleTo(book.Content()) || w->parentWidget() != book.Content()) continue;
        EXPECT_TRUE(client.contains(w->geometry())) << c->Equate() << " lies outside the client area";
    }
    QWidget* close = book.Find("?CLOSE")->Widget();
    EXPECT_GE(close->height(), close->sizeHint().height() - 4) << "the bottom row is cut";
    const QRect room = Area()->viewport()->rect();
    EXPECT_TRUE(room.contains(Sub(kSongBookWindow)->frameGeometry())) << "the window sticks out of the frame";
}

TEST_F(SongBookInFrameTest, TheListHasTheFocusAndTheStatusLineTheCount) {
    fw::Window& book = Book();
    EXPECT_EQ(book.Focus(), book.Feq("?LISTTITLE"));
    EXPECT_EQ(book.Get(fw::Prop::StatusText).Str(), "Total Song Tracks: 2");
}

TEST_F(SongBookInFrameTest, AMaximisedBookStaysAfterAMessageAndOnTopAfterTile) {
    d.FindWindow(kSongBookWindow)->Set(fw::Prop::Maximize, 1);
    d.Settle();
    d.Type("?SEARCHSTRING", "zzz", kSongBookWindow);
    d.AnswerMessage("Search Text Not Found", fw::Button::Ok);
    d.Press("?BUTTON28", kSongBookWindow);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(Area()->activeSubWindow(), Sub(kSongBookWindow));
    EXPECT_TRUE(Sub(kSongBookWindow)->isMaximized());
    EXPECT_FALSE(Sub(kPanel)->isMaximized());

    d.FindWindow(kSongBookWindow)->Set(fw::Prop::Maximize, 0);
    d.Press("?TILE", "T$FRAME");
    EXPECT_EQ(Area()->subWindowList(QMdiArea::StackingOrder).back(), Area()->activeSubWindow());
}

// A window of another thread closes: the book takes the activation back,
// not the panel the frame opened first.
TEST_F(SongBookInFrameTest, TheBookIsActiveAgainWhenAnotherThreadsWindowCloses) {
    d.Start([] {
        fw::Window other(fw::ParseLayout("window T$OTHER\nkind mdi\nat 10 10 100 60\n"
                                         "control ?OK button\n  text \"OK\"\n  at 10 10 40 14\n"));
        other.Open();
        while (fw::ACCEPT()) {
        }
    });
    ASSERT_TRUE(d.IsOpen("T$OTHER"));
    EXPECT_EQ(Area()->activeSubWindow(), Sub("T$OTHER"));
    d.CloseWindow("T$OTHER");
    EXPECT_EQ(Area()->activeSubWindow(), Sub(kSongBookWindow));
    EXPECT_EQ(Area()->subWindowList(QMdiArea::StackingOrder).back(), Sub(kSongBookWindow));
}

}  // namespace
