#include "shell/browse_page.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/controls/control_kinds.h"
#include "platform/ui/layout.h"
#include "platform/ui/testing/gtest_driver.h"
#include "shell/browse_codes.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/data_dictionary_prefixes.h"

#include <gtest/gtest.h>

#include <QScrollBar>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using fw::testing::Driver;
using fw::testing::GTestFailures;

struct Listing {
    const char* title;
    const char* artist;
};

const std::vector<Listing> kTwelve = {{"ALPHA", "ZZZ"},   {"BETA", "B"},     {"CHARLIE", "C"}, {"DELTA", "D"},
                                      {"ECHO", "E"},      {"LIMA", "L"},     {"MAR", "AAA"},   {"MARS", "M"},
                                      {"NOVEMBER", "N"},  {"OSCAR", "O"},    {"PAPA", "P"},    {"ZULU", "Z"}};

struct Program {
    std::function<void()> form;  // the record form the list calls
    std::vector<int> requests;   // RequestedAction at each call
    std::function<void()> onOther;
    std::function<void()> onReload;  // a change on this thread before Reload reads the page again
    std::function<fw::ui::ListRow()> columns;  // other than title and artist
    bool discList = false;       // discs by custom ID, joined to their listings
};

void OpenBook() {
    fw::OPEN(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
    fw::OPEN(shell::SBDiscs(), fw::ReadWrite | fw::DenyNone);
}

void CloseBook() {
    fw::CLOSE(shell::SongBook());
    fw::CLOSE(shell::SBDiscs());
}

void BrowseWindow(Program& p) {
    fw::Window w("BROWSETEST");
    w.Open();
    OpenBook();
    shell::BrowsePlan desc;
    desc.primary = &shell::SongBook();
    desc.orders = {{shell::SongBook().FindKey("SBK:KTITLE")}};
    if (p.discList) {
        desc.primary = &shell::SBDiscs();
        desc.orders = {{shell::SBDiscs().FindKey("SBD:KALTDISKID")}};
        desc.joins = [](fw::View& view) { view.Join(shell::SongBook().FindKey("SBK:KUnqDiskID"), {"SBD:UNQDISKID"}); };
    }
    desc.columns = [] { return fw::ui::ListRow{std::string(SBK.Title.Clip()), std::string(SBK.Artist.Clip())}; };
    if (p.columns) desc.columns = p.columns;
    desc.form = [&p] {
        p.requests.push_back(shell::RequestedAction());
        if (p.form) p.form();
    };
    shell::WindowBrowseList list("?LIST", {"?INSERT", "?CHANGE", "?DELETE", ""});
    {
        shell::PagedBrowse browse(desc, list);
        while (w.Accept()) {
            if (w.Event() == shell::codes::GainFocus) browse.RequestResync();
            if (w.Event() == shell::codes::Accepted && w.Field() == w.Feq("?RELOAD")) {
                if (p.onReload) p.onReload();
                browse.ReloadPage(shell::ReloadKind::Keep);
            }
            browse.TakeEvent(w.Event(), w.Field(), w.KeyCode());
            browse.SyncBrowse();  // the window's refresh
        }
    }
    CloseBook();
}

// A window of another thread that changes a listing when its OK is pressed.
void OtherWindow(Program& p) {
    fw::Window w("BROWSETESTOTHER");
    w.Open();
    OpenBook();
    while (w.Accept()) {
        if (w.Event() == shell::codes::Accepted && w.Field() == w.Feq("?OTHEROK") && p.onOther) p.onOther();
    }
    CloseBook();
}

// Finds the listing titled title in the current thread's buffer and file.
bool GetByTitle(const std::string& title) {
    fw::SET(shell::SongBook().FindKey("SBK:KTITLE"));
    for (;;) {
        fw::NEXT(shell::SongBook());
        if (fw::ERRORCODE() != 0) return false;
        if (SBK.Title.Clip() == title) return true;
    }
}

// A record form that reads the highlighted listing again, changes it and
// writes it back, completed when the write succeeds.
std::function<void()> ChangingForm(std::function<void()> change) {
    return [change] {
        fw::File& book = shell::SongBook();
        fw::GET(book, book.FindKey("SBK:KUnqDiskID"));
        change();
        fw::PUT(book);
        shell::ActionOutcome() = fw::ERRORCODE() == 0 ? shell::outcome::Completed : shell::outcome::Cancelled;
    };
}

class BrowseTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/cv_browse_XXXXXX";
        dir = mkdtemp(tmpl);
        shell::SongBookName = dir + "/Party.2bk";
        shell::SBDiscsName = dir + "/Party.2bd";
        fw::CREATE(shell::SongBook());
        fw::CREATE(shell::SBDiscs());
        fw::SetLayoutFolder(CV_TEST_DIR "/layouts");
    }
    void TearDown() override {
        for (const char* w : {"BROWSETESTOTHER", "BROWSETEST"})
            if (d.IsOpen(w)) d.CloseWindow(w);
        fw::SetLayoutFolder({});
        std::filesystem::remove_all(dir);
    }
    void Fill(const std::vector<Listing>& listings) {
        OpenBook();
        std::uint32_t track = 1;
        for (const auto& l : listings) {
            fw::ClearRecord(&SBK, *shell::SongBookFile().record);
            SBK.Title = l.title;
            SBK.Artist = l.artist;
            SBK.UnqDiskID = "SB1";
            SBK.DISKTRACKNO = track++;
            fw::ADD(shell::SongBook());
            ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        }
        CloseBook();
    }
    // Listings that share every component of the title key, told apart by
    // their disc (the title list) or by their track on one disc (the disc
    // list): title SAME, artist X.
    void FillEqualKeys(int n, bool oneDisc) {
        OpenBook();
        for (int i = 1; i <= n; ++i) {
            fw::ClearRecord(&SBK, *shell::SongBookFile().record);
            SBK.Title = "SAME";
            SBK.Artist = "X";
            SBK.UnqDiskID = oneDisc ? std::string("*") : "D" + std::to_string(i);
            SBK.DISKTRACKNO = oneDisc ? std::uint32_t(i) : 1u;
            fw::ADD(shell::SongBook());
            ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        }
        for (const char* disc : {"*", "A1"}) {
            fw::ClearRecord(&SBD, *shell::SBDiscsFile().record);
            SBD.UNQDISKID = disc;
            SBD.ALTDISKID = disc;
            fw::ADD(shell::SBDiscs());
            ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        }
        CloseBook();
    }
    std::string HighlightedRow() const {
        const auto rows = d.Rows("?LIST");
        const int n = d.Highlight("?LIST");
        return n >= 1 && n <= int(rows.size()) ? rows[std::size_t(n - 1)] : "<none>";
    }
    // The focus goes to another window and comes back.
    void FocusAwayAndBack() {
        if (!d.IsOpen("BROWSETESTOTHER")) d.Start([this] { OtherWindow(program); });
        d.Activate("BROWSETESTOTHER");
        d.Activate("BROWSETEST");
    }
    void Open() {
        d.Start([this] { BrowseWindow(program); });
        ASSERT_TRUE(d.IsOpen("BROWSETEST"));
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> t;
        for (const auto& r : d.Rows("?LIST")) t.push_back(r.substr(0, r.find('|')));
        return t;
    }
    fw::Window& W() { return *d.FindWindow("BROWSETEST"); }
    int ListProp(fw::Prop prop) { return W().Get(prop, W().Feq("?LIST")).Int(); }
    void DragThumb(int position) {
        auto& list = *static_cast<fw::ListControl*>(W().Find("?LIST"));
        QScrollBar* bar = list.List()->verticalScrollBar();
        bar->setSliderDown(true);
        bar->setSliderPosition(position);
        bar->setSliderDown(false);
        d.Settle();
    }

    std::string dir;
    Driver d{GTestFailures()};
    Program program;
};

TEST_F(BrowseTest, AnEmptyFileShowsNoRowsAndOnlyTheInsertKeyActs) {
    Open();
    EXPECT_TRUE(d.Rows("?LIST").empty());
    EXPECT_FALSE(d.Enabled("?CHANGE"));
    EXPECT_FALSE(d.Enabled("?DELETE"));
    EXPECT_EQ(ListProp(fw::Prop::VScroll), 0);
    d.Key("?LIST", shell::codes::Delete);
    d.Key("?LIST", shell::codes::CtrlEnter);
    EXPECT_TRUE(program.requests.empty());
    d.Key("?LIST", shell::codes::Insert);
    EXPECT_EQ(program.requests, std::vector<int>{shell::action::Insert});
}

TEST_F(BrowseTest, AFileShorterThanAPageShowsAllAndPageDownOnlyMovesTheHighlight) {
    Fill({{"ONE", "A"}, {"THREE", "C"}, {"TWO", "B"}});
    Open();
    EXPECT_EQ(Titles(), (std::vector<std::string>{"ONE", "THREE", "TWO"}));
    EXPECT_EQ(d.Highlight("?LIST"), 1);
    EXPECT_EQ(ListProp(fw::Prop::VScroll), 0) << "no thumb on a page that is not full";
    d.Key("?LIST", shell::codes::PgDn);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"ONE", "THREE", "TWO"}));
    EXPECT_EQ(d.Highlight("?LIST"), 3);
    d.Key("?LIST", shell::codes::PgUp);
    EXPECT_EQ(d.Highlight("?LIST"), 1);
}

TEST_F(BrowseTest, ScrollDownOnTheLastRowScrollsOneRowAndStopsAtTheEnd) {
    Fill(kTwelve);
    Open();
    EXPECT_EQ(Titles(), (std::vector<std::string>{"ALPHA", "BETA", "CHARLIE", "DELTA", "ECHO"}));
    for (int i = 0; i < 4; ++i) d.Key("?LIST", shell::codes::Down);
    EXPECT_EQ(d.Highlight("?LIST"), 5);
    d.Key("?LIST", shell::codes::Down);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"BETA", "CHARLIE", "DELTA", "ECHO", "LIMA"}));
    EXPECT_EQ(d.Highlight("?LIST"), 5);
    d.Key("?LIST", shell::codes::Up);
    d.Key("?LIST", shell::codes::PgDn);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"MAR", "MARS", "NOVEMBER", "OSCAR", "PAPA"}));
    d.Key("?LIST", shell::codes::PgDn);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"MARS", "NOVEMBER", "OSCAR", "PAPA", "ZULU"}));
    EXPECT_EQ(d.Highlight("?LIST"), 5) << "the view ended: the highlight moves by the shortfall";
    d.Key("?LIST", shell::codes::Down);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"MARS", "NOVEMBER", "OSCAR", "PAPA", "ZULU"}));
    EXPECT_EQ(d.Highlight("?LIST"), 5);
    d.Key("?LIST", shell::codes::Ctrl | shell::codes::Home);
    EXPECT_EQ(Titles().front(), "ALPHA");
    EXPECT_EQ(d.Highlight("?LIST"), 1);
}

TEST_F(BrowseTest, TheThumbJumpsToTheEndsAndToTheFirstRecordNotLessThanItsStop) {
    Fill(kTwelve);
    Open();
    EXPECT_EQ(ListProp(fw::Prop::VScroll), 1);
    struct Case {
        int position;
        std::vector<std::string> page;
        int highlight;
        int thumb;
    };
    const std::vector<Case> cases = {
        {100, {"MARS", "NOVEMBER", "OSCAR", "PAPA", "ZULU"}, 5, 100},
        // Row 1 is ALPHA by artist ZZZ: the stop "MAR" with the lowest later
        // components still finds MAR by AAA.
        {57, {"MAR", "MARS", "NOVEMBER", "OSCAR", "PAPA"}, 1, 57},
        {1, {"ALPHA", "BETA", "CHARLIE", "DELTA", "ECHO"}, 1, 3},  // "AME" is the first stop >= "ALPHA"
    };
    for (const auto& c : cases) {
        DragThumb(c.position);
        EXPECT_EQ(Titles(), c.page) << "thumb at " << c.position;
        EXPECT_EQ(d.Highlight("?LIST"), c.highlight) << "thumb at " << c.position;
        EXPECT_EQ(ListProp(fw::Prop::VScrollPos), c.thumb) << "thumb at " << c.position;
    }
}

TEST_F(BrowseTest, ACancelledChangeKeepsTheHighlightAndACompletedOneFollowsTheRecord) {
    Fill(kTwelve);
    Open();
    d.Key("?LIST", shell::codes::Down);
    d.Key("?LIST", shell::codes::Down);
    program.form = [] { shell::ActionOutcome() = shell::outcome::Cancelled; };
    d.Press("?CHANGE");
    EXPECT_EQ(program.requests, std::vector<int>{shell::action::Change});
    EXPECT_EQ(Titles(), (std::vector<std::string>{"ALPHA", "BETA", "CHARLIE", "DELTA", "ECHO"}));
    EXPECT_EQ(d.Highlight("?LIST"), 3);

    program.form = ChangingForm([] {
        EXPECT_EQ(SBK.Title.Clip(), "CHARLIE") << "the form gets the highlighted record";
        SBK.Title = "NOVA";
    });
    d.Press("?CHANGE");
    // The changed record is highlighted on the row the change started from.
    EXPECT_EQ(Titles(), (std::vector<std::string>{"MAR", "MARS", "NOVA", "NOVEMBER", "OSCAR"}));
    EXPECT_EQ(d.Highlight("?LIST"), 3);
    EXPECT_EQ(shell::RequestedAction(), 0) << "the test context's request is untouched";
}

// Eight rows share the order key's values and the page shows five: the
// highlighted one (the seventh) stays highlighted when the window loses and
// regains the focus and after a completed change through the form.
TEST_F(BrowseTest, TheHighlightStaysOnItsRowAmongRowsWithEqualKeys) {
    struct Case {
        const char* name;
        bool discList;
        std::function<fw::ui::ListRow()> columns;
        std::string seventh;
    };
    const std::vector<Case> cases = {
        {"title list", false,
         [] { return fw::ui::ListRow{std::string(SBK.Title.Clip()), std::string(SBK.UnqDiskID.Clip())}; }, "SAME|D7"},
        {"disc list", true,
         [] {
             return fw::ui::ListRow{std::string(SBD.ALTDISKID.Clip()),
                                    std::to_string(SBK.DISKTRACKNO) + std::string(SBK.PRINT.Clip())};
         },
         "*|7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        FillEqualKeys(8, c.discList);
        program = {};
        program.discList = c.discList;
        program.columns = c.columns;
        Open();
        for (int i = 0; i < 6; ++i) d.Key("?LIST", shell::codes::Down);
        ASSERT_EQ(HighlightedRow(), c.seventh);
        FocusAwayAndBack();
        EXPECT_EQ(HighlightedRow(), c.seventh);
        FocusAwayAndBack();
        EXPECT_EQ(HighlightedRow(), c.seventh);

        // The form marks the listing left out of the printed book.
        program.form = ChangingForm([] { SBK.PRINT = "X"; });
        d.Press("?CHANGE");
        const std::string changed = c.discList ? "*|7X" : c.seventh;
        EXPECT_EQ(HighlightedRow(), changed);
        FocusAwayAndBack();
        EXPECT_EQ(HighlightedRow(), changed);
        TearDown();
    }
}

TEST_F(BrowseTest, ADeleteMovesTheHighlightToTheNeighbour) {
    Fill({{"ONE", "A"}, {"THREE", "C"}, {"TWO", "B"}});
    Open();
    d.Key("?LIST", shell::codes::PgDn);
    program.form = [] {
        fw::File& book = shell::SongBook();
        fw::GET(book, book.FindKey("SBK:KUnqDiskID"));
        fw::DELETE(book);
        shell::ActionOutcome() = shell::outcome::Completed;
    };
    d.Press("?DELETE");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"ONE", "THREE"}));
    EXPECT_EQ(d.Highlight("?LIST"), 2);
    d.Press("?DELETE");
    d.Press("?DELETE");
    EXPECT_TRUE(Titles().empty());
    EXPECT_FALSE(d.Enabled("?DELETE"));
}

TEST_F(BrowseTest, AChangeMadeByAnotherWindowShowsOnTheNextFocus) {
    Fill(kTwelve);
    Open();
    d.Key("?LIST", shell::codes::Down);  // BETA
    program.onOther = [] {
        if (GetByTitle("BETA")) {
            SBK.Artist = "Changed";
            fw::PUT(shell::SongBook());
        }
        if (GetByTitle("CHARLIE")) fw::DELETE(shell::SongBook());
    };
    d.Start([this] { OtherWindow(program); });
    d.Press("?OTHEROK");
    EXPECT_EQ(d.Rows("?LIST")[1], "BETA|B") << "not before the list gets the focus";
    d.Activate("BROWSETEST");
    const auto rows = d.Rows("?LIST");
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[1], "BETA|Changed");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"ALPHA", "BETA", "DELTA", "ECHO", "LIMA"}));
    EXPECT_EQ(d.Highlight("?LIST"), 2);
}

// The rows stay where they are on the screen when the focus comes back,
// also after the page was read again for a delete made outside the form
// (the song-book window's delete) and after a tag mark changed a row.
TEST_F(BrowseTest, AListKeepsItsRowsWhereTheyAreWhenTheFocusComesBack) {
    Fill(kTwelve);
    Open();
    d.Key("?LIST", shell::codes::PgDn);  // LIMA .. OSCAR
    d.Key("?LIST", shell::codes::Down);
    d.Key("?LIST", shell::codes::Down);  // MARS, the third row
    const std::vector<std::string> page = Titles();
    const int row = d.Highlight("?LIST");
    ASSERT_GT(row, 1);
    FocusAwayAndBack();
    EXPECT_EQ(Titles(), page);
    EXPECT_EQ(d.Highlight("?LIST"), row);

    // The highlighted listing goes; the page is read again from its first row.
    const std::string gone = page[std::size_t(row - 1)];
    program.onReload = [gone] {
        if (GetByTitle(gone)) fw::DELETE(shell::SongBook());
    };
    d.Press("?RELOAD");
    const std::vector<std::string> after = Titles();
    EXPECT_EQ(after.front(), page.front());
    FocusAwayAndBack();
    EXPECT_EQ(Titles(), after) << "the list jumped when the focus came back after the delete";
}

TEST_F(BrowseTest, AReloadAfterTheHighlightedRecordGotOtherKeyValuesStaysOnIt) {
    Fill(kTwelve);
    Open();
    d.Key("?LIST", shell::codes::Down);  // BETA, the second of five rows
    // A batch change on this thread gives BETA another artist, a part of
    // the title key; the page is read again from where it was.
    program.onReload = [] {
        if (GetByTitle("BETA")) {
            SBK.Artist = "Renamed";
            fw::PUT(shell::SongBook());
        }
    };
    d.Press("?RELOAD");
    EXPECT_EQ(Titles(), (std::vector<std::string>{"ALPHA", "BETA", "CHARLIE", "DELTA", "ECHO"}));
    EXPECT_EQ(HighlightedRow(), "BETA|Renamed");
    // The next refresh on the focus finds the same listing again.
    FocusAwayAndBack();
    EXPECT_EQ(HighlightedRow(), "BETA|Renamed");
}

TEST_F(BrowseTest, ATypedCharacterMovesToTheNextRowBeginningWithItWithoutWrapping) {
    Fill(kTwelve);
    Open();
    struct Case {
        int key;
        std::vector<std::string> page;
        std::string highlighted;
    };
    // Page of five; each case starts where the one before left off.
    const std::vector<Case> cases = {
        {'D', {"ALPHA", "BETA", "CHARLIE", "DELTA", "ECHO"}, "DELTA"},      // on the page
        {'M', {"MAR", "MARS", "NOVEMBER", "OSCAR", "PAPA"}, "MAR"},         // past the page: sought
        {'M', {"MAR", "MARS", "NOVEMBER", "OSCAR", "PAPA"}, "MARS"},        // the next of the same initial
        {'M', {"MAR", "MARS", "NOVEMBER", "OSCAR", "PAPA"}, "MARS"},        // no further M: no wrap
        {'B', {"MAR", "MARS", "NOVEMBER", "OSCAR", "PAPA"}, "MARS"},        // only before: nothing moves
        {'Q', {"MAR", "MARS", "NOVEMBER", "OSCAR", "PAPA"}, "MARS"},        // no row at all
        {'Z' | shell::codes::Shift, {"MARS", "NOVEMBER", "OSCAR", "PAPA", "ZULU"}, "ZULU"},
    };
    for (const auto& c : cases) {
        d.Key("?LIST", c.key);
        SCOPED_TRACE(std::string(1, static_cast<char>(c.key & 0xFF)));
        EXPECT_EQ(Titles(), c.page);
        const int h = d.Highlight("?LIST");
        ASSERT_GE(h, 1);
        EXPECT_EQ(Titles().at(static_cast<std::size_t>(h - 1)), c.highlighted);
    }
    EXPECT_TRUE(program.requests.empty()) << "a typed key opens no form";
}

TEST_F(BrowseTest, TheTypedCharacterMatchesTitlesInAnyCaseAndTheNextRecordPastThePage) {
    Fill({{"apple", "A"}, {"Banana", "B"}, {"bean", "B"}, {"beet", "B"}, {"berry", "B"}, {"Blue", "B"},
          {"cherry", "C"}});
    Open();
    d.Key("?LIST", 'B');
    EXPECT_EQ(d.Highlight("?LIST"), 2);
    for (int i = 0; i < 3; ++i) d.Key("?LIST", 'B');
    EXPECT_EQ(d.Highlight("?LIST"), 5) << "berry, the page's last row";
    d.Key("?LIST", 'B');
    EXPECT_EQ(Titles(), (std::vector<std::string>{"bean", "beet", "berry", "Blue", "cherry"}));
    EXPECT_EQ(Titles().at(static_cast<std::size_t>(d.Highlight("?LIST") - 1)), "Blue");
    d.Key("?LIST", 'B');
    EXPECT_EQ(Titles().at(static_cast<std::size_t>(d.Highlight("?LIST") - 1)), "Blue");
    d.Key("?LIST", 'C');
    EXPECT_EQ(Titles().at(static_cast<std::size_t>(d.Highlight("?LIST") - 1)), "cherry");
}

}  // namespace
