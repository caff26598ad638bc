#include "songbook/song_book_search.h"

#include "platform/ui/events.h"
#include "platform/ui/layout.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/widgets/list_format.h"
#include "platform/ui/window.h"
#include "songbook/browse_song_book.h"
#include "songbook/song_book_lists.h"

#include "song_book_window_fixture.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"
#include "shell/data_dictionary_prefixes.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <string>
#include <vector>

namespace {

using songbook::SearchMode;
using songbook::SongBookListKind;
using song_book_test::Disc;
using song_book_test::Listing;

TEST(SongBookSearch, HitTestIgnoresCaseAndTrailingBlanksOfTheText) {
    struct Case {
        const char* field;
        const char* text;
        SearchMode mode;
        bool hit;
    } cases[] = {
        {"The Rose", "the", SearchMode::BeginsWith, true},
        {"THEME", "the", SearchMode::BeginsWith, true},
        {"Bathe", "the", SearchMode::BeginsWith, false},
        {"Bathe", "the", SearchMode::Contains, true},
        {"The Rose", "the   ", SearchMode::BeginsWith, true},     // trailing blanks ignored
        {"The Rose", " the", SearchMode::BeginsWith, false},      // leading ones count
        {"Over The Hill", " the", SearchMode::Contains, true},
        {"Th", "the", SearchMode::BeginsWith, false},             // shorter than the text
        {"\xC9t\xE9", "\xE9T\xC9", SearchMode::BeginsWith, true},  // accented letters fold too
        {"The Rose", "", SearchMode::Contains, false},            // an empty text finds nothing
        {"The Rose", "   ", SearchMode::BeginsWith, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(songbook::IsSearchHit(c.field, c.text, c.mode), c.hit)
            << '"' << c.field << "\" / \"" << c.text << "\" mode " << static_cast<int>(c.mode);
}

class SongBookSearchFiles : public song_book_test::SongBookFolder {
protected:
    void SetUp() override {
        SongBookFolder::SetUp();
        MakeBook("Party",
                 {{"AV100", "A1"}, {"AV200", "B2"}, {"AV300", "A3"}, {"AV400", "A4"}},
                 {{"Bathe", "Zed", "AV100", 1},
                  {"THEME", "Alpha", "AV100", 2},
                  {"The Rose", "Midler", "AV200", 1},
                  {"Zebra", "The Band", "AV300", 5},
                  {"Apple", "Bee", "AV300", 2}});
        shell::SongBookName = Path("Party.2bk");
        shell::SBDiscsName = Path("Party.2bd");
        fw::SHARE(shell::SongBook());
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        fw::SHARE(shell::SBDiscs());
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    void TearDown() override {
        fw::CLOSE(shell::SongBook());
        fw::CLOSE(shell::SBDiscs());
        SongBookFolder::TearDown();
    }

    // Search, then Next until not found: the hits' field texts in order.
    std::vector<std::string> Hits(SongBookListKind list, const std::string& text, SearchMode mode) {
        std::vector<std::string> out;
        std::string last;
        for (int guard = 0; guard < 20; ++guard) {
            const songbook::SearchResult r = songbook::SearchSongBookList(list, text, mode, last);
            if (!r.found) break;
            EXPECT_NE(r.hit, last);
            last = r.hit;
            switch (list) {
            case SongBookListKind::Title: out.push_back(SBK.Title.Str()); break;
            case SongBookListKind::Artist: out.push_back(SBK.Artist.Str()); break;
            case SongBookListKind::Disc: out.push_back(SBD.ALTDISKID.Str() + "/" + SBK.Title.Str()); break;
            }
        }
        return out;
    }
};

TEST_F(SongBookSearchFiles, HitsComeInListOrderAndNextAfterTheLastFindsNothing) {
    using V = std::vector<std::string>;
    struct Case {
        SongBookListKind list;
        const char* text;
        SearchMode mode;
        V hits;
    } cases[] = {
        {SongBookListKind::Title, "the", SearchMode::BeginsWith, V{"The Rose", "THEME"}},
        {SongBookListKind::Title, "the  ", SearchMode::BeginsWith, V{"The Rose", "THEME"}},
        {SongBookListKind::Title, "the", SearchMode::Contains, V{"Bathe", "The Rose", "THEME"}},
        {SongBookListKind::Title, "nothing", SearchMode::Contains, V{}},
        {SongBookListKind::Title, "", SearchMode::Contains, V{}},
        {SongBookListKind::Artist, "the", SearchMode::BeginsWith, V{"The Band"}},
        // The disc list: discs by custom ID, a disc's listings by track; the
        // search field is the disc's, so each listing of a hit disc is a hit.
        {SongBookListKind::Disc, "a", SearchMode::BeginsWith, V{"A1/Bathe", "A1/THEME", "A3/Apple", "A3/Zebra", "A4/"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Hits(c.list, c.text, c.mode), c.hits) << "\"" << c.text << "\" list " << static_cast<int>(c.list);
}

TEST_F(SongBookSearchFiles, NextWalksListingsTiedInTheWholeKeyInRecordOrder) {
    for (const char* disc : {"AV400", "AV100", "AV300"}) {
        fw::ClearRecord(&SBK, *shell::SongBookFile().record);
        SBK.Title = "Twin Song";
        SBK.Artist = "Same";
        SBK.UnqDiskID = disc;
        SBK.DISKTRACKNO = 9;
        fw::ADD(shell::SongBook());
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    std::vector<std::string> discs;
    std::string last;
    for (int guard = 0; guard < 20; ++guard) {
        const auto r = songbook::SearchSongBookList(SongBookListKind::Title, "IN S", SearchMode::Contains, last);
        if (!r.found) break;
        discs.push_back(SBK.UnqDiskID.Str());
        last = r.hit;
    }
    EXPECT_EQ(discs, (std::vector<std::string>{"AV400", "AV100", "AV300"}));
}

// Next goes on from the last hit's place in the order, whatever changed in
// the book meanwhile: a listing added before it is not a reason to find the
// last hit again, and a last hit that has gone is stood in for by its
// neighbour.
TEST_F(SongBookSearchFiles, NextGoesOnFromTheLastHitAfterTheBookChanged) {
    struct Case {
        const char* what;
        SongBookListKind list;
        void (*change)();
        std::vector<std::string> next;  // the hits Next finds after the first
    } cases[] = {
        {"a listing added before the hit", SongBookListKind::Title,
         [] {
             fw::ClearRecord(&SBK, *shell::SongBookFile().record);
             SBK.Title = "Aardvark";
             SBK.UnqDiskID = "AV400";
             SBK.DISKTRACKNO = 1;
             fw::ADD(shell::SongBook());
         },
         {"THEME"}},
        {"the hit deleted", SongBookListKind::Title,
         [] {
             SBK.Title = "The Rose";
             fw::GET(shell::SongBook(), shell::SongBook().FindKey("SBK:TITLEKEY"));
             fw::DELETE(shell::SongBook());
         },
         {"THEME"}},
        {"the hit disc's listing deleted", SongBookListKind::Disc,
         [] {
             SBK.Title = "Bathe";
             fw::GET(shell::SongBook(), shell::SongBook().FindKey("SBK:TITLEKEY"));
             fw::DELETE(shell::SongBook());
         },
         {"A1/THEME", "A3/Apple", "A3/Zebra", "A4/"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        const char* text = c.list == SongBookListKind::Disc ? "a" : "the";
        const auto first = songbook::SearchSongBookList(c.list, text, SearchMode::BeginsWith);
        ASSERT_TRUE(first.found);
        c.change();
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        std::vector<std::string> found;
        std::string last = first.hit;
        for (int guard = 0; guard < 20; ++guard) {
            const auto r = songbook::SearchSongBookList(c.list, text, SearchMode::BeginsWith, last);
            if (!r.found) break;
            found.push_back(c.list == SongBookListKind::Disc ? SBD.ALTDISKID.Str() + "/" + SBK.Title.Str() : SBK.Title.Str());
            last = r.hit;
        }
        EXPECT_EQ(found, c.next);
    }
}

TEST_F(SongBookSearchFiles, ASearchFromTheStartFindsTheFirstHitAgain) {
    const auto first = songbook::SearchSongBookList(SongBookListKind::Title, "the", SearchMode::BeginsWith);
    const auto again = songbook::SearchSongBookList(SongBookListKind::Title, "THE", SearchMode::BeginsWith);
    ASSERT_TRUE(first.found);
    EXPECT_EQ(again.hit, first.hit);
    EXPECT_EQ(SBK.Title.Clip(), "The Rose");
    EXPECT_EQ(SBD.ALTDISKID.Clip(), "B2");  // the joined disc came with it
    // After the last title of the book nothing is found.
    const auto last = songbook::SearchSongBookList(SongBookListKind::Title, "z", SearchMode::BeginsWith);
    ASSERT_TRUE(last.found);
    EXPECT_FALSE(songbook::SearchSongBookList(SongBookListKind::Title, "z", SearchMode::BeginsWith, last.hit).found);
    EXPECT_FALSE(songbook::SearchSongBookList(SongBookListKind::Title, "e", SearchMode::Contains, last.hit).found);
}

// Each list's columns (its window's layout holds them) show the fields the
// list reads, in the listing colours.
TEST(SongBookLists, DeclarationsNameTheirControlsAndParseAsFormats) {
    const fw::WindowLayout window = fw::LoadLayout("P1$BROWSEWINDOW");
    struct Expect {
        SongBookListKind kind;
        const char* control;
        std::vector<std::string> headings;
    } lists[] = {
        {SongBookListKind::Title, "?LISTTITLE", {"Title", "Artist", "Disc ID", "Track", "Omit?", "Mfg."}},
        {SongBookListKind::Artist, "?LISTARTIST", {"Artist", "Title", "Disc ID", "Track", "Omit?", "Mfg."}},
        {SongBookListKind::Disc, "?LISTDISCID", {"Disc ID", "Track", "Title", "Artist", "Omit?", "Mfg.", "Date Added"}},
    };
    for (const Expect& e : lists) {
        const songbook::SongBookListDecl& d = songbook::SongBookList(e.kind);
        EXPECT_EQ(d.kind, e.kind);
        EXPECT_EQ(d.listControl, e.control);
        const fw::ControlLayout* list = window.Find(d.listControl);
        ASSERT_NE(list, nullptr);
        std::string error;
        const auto format = fw::ui::ListFormat::Parse(list->format, &error);
        ASSERT_TRUE(format) << error;
        std::vector<std::string> headings;
        for (const auto& c : format->columns) {
            headings.push_back(c.heading);
            ASSERT_TRUE(c.hasDefaultColors);
            EXPECT_EQ(c.defaultColors[0], songbook::kListTextColor);
            EXPECT_EQ(c.defaultColors[1], songbook::kListBackColor);
            EXPECT_EQ(c.defaultColors[3], songbook::kListTextColor);
            EXPECT_LE(c.field, static_cast<int>(d.rowFields.size()));
        }
        EXPECT_EQ(headings, e.headings);
        EXPECT_EQ(format->columns.back().width == 0, e.kind == SongBookListKind::Disc);  // Date Added is hidden
        // Every list finds a listing by its unique disc and track, or needs no lookup.
        EXPECT_EQ(d.lookup, e.kind == SongBookListKind::Disc ? songbook::ListingLookup::None
                                                             : songbook::ListingLookup::ByDiscAndTrack);
    }
}

// Counts the times the searching screen is shown on the screen.
class SearchingScreenWatch : public QObject {
public:
    SearchingScreenWatch() { QCoreApplication::instance()->installEventFilter(this); }
    ~SearchingScreenWatch() override { QCoreApplication::instance()->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            for (const fw::Window* w : fw::OpenWindows())
                if (w->Label() == "P1$SEARCHINGSCREEN" && static_cast<QObject*>(w->Root()) == watched) ++shown;
        }
        return false;
    }
};

constexpr const char* kWindow = song_book_test::kSongBookWindow;
constexpr const char* kSearching = "P1$SEARCHINGSCREEN";

// The song-book window on the book "Party" of the folder.
class SearchInWindow : public song_book_test::SongBookWindowTest {
protected:
    // The highlighted row of a list, its columns split.
    std::vector<std::string> Highlighted(const char* list) {
        const int n = d.Highlight(list, kWindow);
        const auto rows = d.Rows(list, kWindow);
        if (n < 1 || n > static_cast<int>(rows.size())) return {};
        std::vector<std::string> out;
        const std::string& r = rows[static_cast<std::size_t>(n - 1)];
        for (std::size_t from = 0;;) {
            const std::size_t bar = r.find('|', from);
            out.push_back(r.substr(from, bar - from));
            if (bar == std::string::npos) return out;
            from = bar + 1;
        }
    }
};

TEST_F(SearchInWindow, TheSearchingScreenIsUpForTheScanAndGoneBeforeTheAnswer) {
    MakeBook("Party", {{"U1", "D1"}}, {{"Apple", "X", "U1", 1}, {"Quince", "X", "U1", 2}, {"Zest", "X", "U1", 3}});
    Open();
    struct Case {
        const char* text;
        const char* title;  // the highlighted row's after the search; null: not found
    } cases[] = {{"qu", "Quince"}, {"nothing", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SearchingScreenWatch watch;
        d.Type("?SEARCHSTRING", c.text, kWindow);
        if (!c.title) d.AnswerMessage("Search Text Not Found...", fw::Button::Ok);
        d.Press("?BUTTON28", kWindow);
        EXPECT_EQ(watch.shown, 1);
        EXPECT_FALSE(d.IsOpen(kSearching));
        EXPECT_EQ(d.UnusedAnswers(), 0u);
        if (c.title) {
            ASSERT_FALSE(Highlighted("?LISTTITLE").empty());
            EXPECT_EQ(Highlighted("?LISTTITLE").front(), c.title);
        }
        EXPECT_EQ(d.Enabled("?SEARCHNEXTBUTTON", kWindow), c.title != nullptr);
    }
    // The window takes input again.
    EXPECT_TRUE(d.Press("?BUTTON17:2", kWindow));
}

// Enter in the search entry searches, as Search does (the window's default button).
TEST_F(SearchInWindow, EnterInTheSearchEntrySearches) {
    MakeBook("Party", {{"U1", "D1"}}, {{"Apple", "X", "U1", 1}, {"Quince", "X", "U1", 2}, {"Zest", "X", "U1", 3}});
    Open();
    d.TypeKeys("?SEARCHSTRING", "qu", kWindow);
    d.Key("?SEARCHSTRING", fw::KeyCode::Enter, kWindow);
    ASSERT_FALSE(Highlighted("?LISTTITLE").empty());
    EXPECT_EQ(Highlighted("?LISTTITLE").front(), "Quince");
    EXPECT_TRUE(d.Enabled("?SEARCHNEXTBUTTON", kWindow));
}

TEST_F(SearchInWindow, NextOnTheDiscListHighlightsEachTrackOfTheHitDisc) {
    // The matching disc's listings are added out of track order, and discs
    // sort before and after it.
    MakeBook("Party", {{"U1", "AB1"}, {"U2", "MATCH7"}, {"U3", "ZZ9"}},
             {{"Early", "A", "U1", 1}, {"Third", "M", "U2", 3}, {"First", "M", "U2", 1},
              {"Second", "M", "U2", 2}, {"Later", "Z", "U3", 1}, {"Earlier", "A", "U1", 2}});
    Open();
    d.Press("?BUTTON17:3", kWindow);
    d.Type("?SEARCHSTRING", "match", kWindow);
    d.Press("?BUTTON28", kWindow);
    for (const char* title : {"First", "Second", "Third"}) {
        SCOPED_TRACE(title);
        const std::vector<std::string> row = Highlighted("?LISTDISCID");
        ASSERT_GE(row.size(), 3u);
        EXPECT_EQ(row[0], "MATCH7");
        EXPECT_EQ(row[2], title);
        EXPECT_TRUE(d.Enabled("?SEARCHNEXTBUTTON", kWindow));
        if (std::string(title) == "Third") d.AnswerMessage("Search Text Not Found...", fw::Button::Ok);
        d.Press("?SEARCHNEXTBUTTON", kWindow);
    }
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(d.Text("?SEARCHSTRING", kWindow), "");
    EXPECT_FALSE(d.Enabled("?SEARCHNEXTBUTTON", kWindow));
}

}  // namespace
