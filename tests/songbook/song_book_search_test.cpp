#include "songbook/song_book_search.h"

#include "platform/ui/widgets/list_format.h"
#include "songbook/song_book_lists.h"

#include "song_book_fixture.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_files.h"
#include "shell/data_dictionary_prefixes.h"

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
        long last = 0;
        for (int guard = 0; guard < 20; ++guard) {
            const songbook::SearchResult r = songbook::SearchSongBookList(list, text, mode, last);
            if (!r.found) break;
            EXPECT_GT(r.ordinal, last);
            EXPECT_EQ(r.scanned, r.ordinal);
            last = r.ordinal;
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

TEST_F(SongBookSearchFiles, ASearchFromTheStartFindsTheFirstHitAgain) {
    const auto first = songbook::SearchSongBookList(SongBookListKind::Title, "the", SearchMode::BeginsWith, 0);
    const auto again = songbook::SearchSongBookList(SongBookListKind::Title, "THE", SearchMode::BeginsWith, 0);
    ASSERT_TRUE(first.found);
    EXPECT_EQ(again.ordinal, first.ordinal);
    EXPECT_EQ(SBK.Title.Clip(), "The Rose");
    EXPECT_EQ(SBD.ALTDISKID.Clip(), "B2");  // the joined disc came with it
    const auto afterLast = songbook::SearchSongBookList(SongBookListKind::Title, "the", SearchMode::BeginsWith, 5);
    EXPECT_FALSE(afterLast.found);
    EXPECT_EQ(afterLast.scanned, 5);  // the whole view was read
}

TEST(SongBookLists, DeclarationsNameTheirControlsAndParseAsFormats) {
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
        std::string error;
        const auto format = fw::ui::ListFormat::Parse(d.format, &error);
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

}  // namespace
