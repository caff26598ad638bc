// The host's main roads through the whole program: started as main()
// starts it, a new book from Quick Start, discs from the song base, then
// the book's other windows on the filled book.
#include "program_fixture.h"

#include "exchange/export_song_listings.h"
#include "exchange/import_song_listings.h"
#include "platform/ui/message.h"
#include "platform/ui/events.h"
#include "songbook/book_texts.h"

#include <gmock/gmock.h>

#include <QString>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace integration_test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using exchange::kExportWindow;
using exchange::kImportWindow;

constexpr const char* kAddTracks = "P1$ADDSONGTRACKS";
constexpr const char* kFastFind = "P1$FASTFIND";
constexpr const char* kRenumber = "P1$RENUMBERDISCS";
constexpr const char* kDiscTracks = "P1$DISCTRACKS";
constexpr const char* kMultiEdit = "P1$MULTIEDITSETUP";
constexpr const char* kSearchWindow = "P1$SONGBASESEARCH";
constexpr const char* kPrintMenu = "P1$PRINTMENU";
constexpr const char* kReportsMenu = "P1$MANAGEMENTREPORTSMENU";
constexpr const char* kDestination = "ReportDestinationWindow";
constexpr const char* kDesigner = "P1$DESIGNER";
constexpr const char* kLabelSetup = "P1$CDLABELSETUP";
constexpr const char* kSlipSetup = "P1$REQUESTCARDSETUP";

class MainRoadsTest : public ProgramTest {
protected:
    std::string TotalShown() {
        fw::Window* w = d().FindWindow(kSongBook);
        return w ? w->Get(fw::Prop::Msg, w->Feq("?LISTTITLE")).Str() : std::string();
    }
    // The first brand's first `count` discs added by tagging: the first
    // with a custom ID typed at the prompt, the rest by tag All with the
    // manufacturer's IDs. Returns the listings added.
    int AddFirstBrandDiscs() {
        d().Press("?CANTORVALE", kSongBook);
        EXPECT_TRUE(d().IsOpen(kAddDiscs));
        const auto brands = d().Rows("?LIST", kAddDiscs);
        EXPECT_FALSE(brands.empty());
        // A brand of a few discs, so tag All stays small.
        std::vector<std::string> discs;
        for (int b = 1; b <= static_cast<int>(brands.size()); ++b) {
            d().Choose("?LIST", b, kAddDiscs);
            discs = d().Rows("?LIST:2", kAddDiscs);
            if (discs.size() >= 2 && discs.size() <= 5) break;
        }
        EXPECT_GE(discs.size(), 2u);
        EXPECT_LE(discs.size(), 5u);
        // The first disc under the custom ID "H-1".
        d().DoubleClick("?LIST:2", 1, 1, kAddDiscs);
        EXPECT_TRUE(d().IsOpen(kCustomId));
        d().Type("?DISKID", "H-1");
        d().Press("?OKBUTTON", kCustomId);
        EXPECT_FALSE(d().IsOpen(kCustomId));
        EXPECT_EQ(d().Rows("?LIST:4", kAddDiscs).size(), 1u);
        // Tag All: the rest under the manufacturer's IDs.
        d().Press("?DASTAGALL", kAddDiscs);
        EXPECT_TRUE(d().IsOpen(kTagOptions));
        d().Press("?BATCHADDTYPE:RADIO3", kTagOptions);
        d().Press("?OKBUTTON", kTagOptions);
        EXPECT_FALSE(d().IsOpen(kTagOptions));
        EXPECT_EQ(d().Rows("?LIST:4", kAddDiscs).size(), discs.size());
        d().Press("?BUTTON1", kAddDiscs);
        EXPECT_TRUE(d().IsOpen(kAddWorker));
        d().Press("?RESULTS", kAddWorker);
        const int added = std::stoi(Number("?TRACKSADDED", kAddWorker));
        EXPECT_EQ(Number("?DUPTRACKS", kAddWorker), "0");
        EXPECT_EQ(Number("?DISCSNOTADDED", kAddWorker), "0");
        d().Press("?B1", kAddWorker);
        d().Press("?BUTTON2", kAddDiscs);
        EXPECT_FALSE(d().IsOpen(kAddDiscs));
        return added;
    }
};

TEST_F(MainRoadsTest, QuickStartMakesANewBookAndOpensItsWindowOnTheEmptyBook) {
    StartProgram();
    NewBookFromQuickStart("Friday");
    EXPECT_TRUE(std::filesystem::exists(BookPath("Friday.2bk")));
    EXPECT_TRUE(std::filesystem::exists(BookPath("Friday.2bd")));
    EXPECT_THAT(d().Caption(kSongBook), HasSubstr("Friday"));
    EXPECT_TRUE(d().Rows("?LISTTITLE", kSongBook).empty());
    EXPECT_EQ(TotalShown(), "Total Song Tracks: 0");
    // The commands an empty book can use are there.
    for (const char* c : {"?CANTORVALE", "?ADDTRACKS", "?IMPORT", "?SEARCHMAIN", "?VIEWMAIN"})
        EXPECT_TRUE(d().Enabled(c, kSongBook)) << c;
    EXPECT_FALSE(d().Enabled("?EXPORT", kSongBook));
    // The frame holds Open and AutoUpdate while the book is open.
    EXPECT_FALSE(d().Enabled("?FILEOPENSONGBOOK", kFrame));
    EXPECT_FALSE(d().Enabled("?FILEUPDATEDATAFILES", kFrame));
}

TEST_F(MainRoadsTest, TaggedDiscsOfABrandFillTheBooksThreeLists) {
    StartProgram();
    NewBookFromQuickStart("Friday");
    const int added = AddFirstBrandDiscs();
    ASSERT_GT(added, 0);
    EXPECT_EQ(Count("Friday.2bk"), added);
    EXPECT_EQ(TotalShown(), "Total Song Tracks: " + std::to_string(added));
    // Each list shows the book from its start, a full page of it.
    const auto page = d().Rows("?LISTTITLE", kSongBook);
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(page[0].substr(0, page[0].find('|')),
              Query("Friday.2bk", "SELECT TITLE FROM records ORDER BY TITLE COLLATE NOCASE LIMIT 1").at(0));
    d().Press("?BUTTON17:2", kSongBook);
    EXPECT_EQ(d().Rows("?LISTARTIST", kSongBook).size(), page.size());
    d().Press("?BUTTON17:3", kSongBook);
    const auto byDisc = d().Rows("?LISTDISCID", kSongBook);
    EXPECT_EQ(byDisc.size(), page.size());
    EXPECT_EQ(TotalShown(), "Total Song Tracks: " + std::to_string(added));
    // The custom ID typed at the prompt and the manufacturer's IDs of tag All.
    const auto ids = Query("Friday.2bd", "SELECT ALTDISKID FROM records ORDER BY ALTDISKID");
    EXPECT_EQ(std::count(ids.begin(), ids.end(), "H-1"), 1);
    EXPECT_EQ(Query("Friday.2bd", "SELECT count(*) FROM records WHERE ALTDISKID = UNQDISKID").at(0),
              std::to_string(ids.size() - 1));
    if (const char* dir = std::getenv("CV_SCREENSHOT_DIR")) {
        std::filesystem::create_directories(dir);
        EXPECT_TRUE(d().Screenshot(kSongBook, std::string(dir) + "/filled_song_book.png"));
    }
    EXPECT_TRUE(d().Enabled("?EXPORT", kSongBook));
}

TEST_F(MainRoadsTest, SingleTracksAndAFastFoundDiscJoinTheBook) {
    StartProgram();
    NewBookFromQuickStart("Friday");
    const int added = AddFirstBrandDiscs();
    const std::string custom = Query("Friday.2bd", "SELECT UNQDISKID FROM records WHERE ALTDISKID = 'H-1'").at(0);
    const int lastOnCustom = std::stoi(
        Query("Friday.2bk", "SELECT max(DISKTRACKNO) FROM records WHERE UnqDiskID = '" + custom + "'").at(0));

    // A discless track, then one on the disc with the custom ID.
    d().Press("?ADDTRACKS", kSongBook);
    ASSERT_TRUE(d().IsOpen(kAddTracks));
    d().Check("?DISCLESS", true, kAddTracks);
    d().Type("?SBK:TITLE", "My Own Song", kAddTracks);
    d().Type("?SBK:ARTIST", "The Host", kAddTracks);
    d().AnswerMessage("Track successfully added", fw::Button::Yes);
    d().Press("?OKBUTTON", kAddTracks);
    d().Check("?DISCLESS", false, kAddTracks);
    const auto ids = d().Rows("?SBK:UNQDISKID", kAddTracks);
    const auto h1 = std::find(ids.begin(), ids.end(), "H-1");
    ASSERT_NE(h1, ids.end());
    d().Choose("?SBK:UNQDISKID", static_cast<int>(h1 - ids.begin()) + 1, kAddTracks);
    std::string proposed = d().Text("?SBK:DISKTRACKNO:2", kAddTracks);
    proposed.erase(0, proposed.find_first_not_of(' '));
    EXPECT_EQ(proposed, std::to_string(lastOnCustom + 1));
    d().Type("?SBK:TITLE", "Bonus Song", kAddTracks);
    d().Type("?SBK:ARTIST", "The Host", kAddTracks);
    d().AnswerMessage("Track successfully added", fw::Button::No);
    d().Press("?OKBUTTON", kAddTracks);
    EXPECT_FALSE(d().IsOpen(kAddTracks));
    EXPECT_EQ(d().UnusedAnswers(), 0u);
    EXPECT_EQ(Query("Friday.2bk", "SELECT TITLE, DISKTRACKNO FROM records WHERE UnqDiskID = '*'"),
              std::vector<std::string>{"My Own Song|1"});
    EXPECT_EQ(Query("Friday.2bk", "SELECT TITLE FROM records WHERE UnqDiskID = '" + custom +
                                      "' AND DISKTRACKNO = " + std::to_string(lastOnCustom + 1)),
              std::vector<std::string>{"Bonus Song"});
    EXPECT_EQ(TotalShown(), "Total Song Tracks: " + std::to_string(added + 2));

    // FastFind in the add-discs window: a disc of the song base found by
    // its first track's title, tagged with a custom ID and added.
    const auto other = Query(install_ + "/MAIN.TPS",
                             "SELECT Title, UnqDiskID FROM records WHERE DiskTrackNo = 1 AND UnqDiskID NOT IN ("
                             "SELECT UnqDiskID FROM records GROUP BY UnqDiskID HAVING count(*) > 30) "
                             "ORDER BY UnqDiskID DESC LIMIT 1");
    ASSERT_EQ(other.size(), 1u);
    const std::string title = other[0].substr(0, other[0].find('|'));
    const std::string unq = other[0].substr(other[0].find('|') + 1);
    d().Press("?CANTORVALE", kSongBook);
    ASSERT_TRUE(d().IsOpen(kAddDiscs));
    d().Press("?BUTTON14", kAddDiscs);
    ASSERT_TRUE(d().IsOpen(kFastFind));
    d().Type("?STI:TITLE", title, kFastFind);
    d().Press("?BUTTON6", kFastFind);
    const auto found = d().Rows("?LIST", kFastFind);
    const auto row = std::find_if(found.begin(), found.end(), [&](const std::string& r) { return r.rfind(unq + "|", 0) == 0; });
    ASSERT_NE(row, found.end()) << title;
    d().Choose("?LIST", static_cast<int>(row - found.begin()) + 1, kFastFind);
    d().Press("?TAGBUTTON", kFastFind);
    ASSERT_TRUE(d().IsOpen(kCustomId));
    d().Type("?DISKID", "FF-1", kCustomId);
    d().Press("?OKBUTTON", kCustomId);
    EXPECT_FALSE(d().IsOpen(kFastFind));
    d().Activate(kAddDiscs);
    EXPECT_EQ(d().Rows("?LIST:4", kAddDiscs), std::vector<std::string>{unq + "|FF-1"});
    d().Press("?BUTTON1", kAddDiscs);
    ASSERT_TRUE(d().IsOpen(kAddWorker));
    d().Press("?RESULTS", kAddWorker);
    const int more = std::stoi(Number("?TRACKSADDED", kAddWorker));
    d().Press("?B1", kAddWorker);
    d().Press("?BUTTON2", kAddDiscs);
    EXPECT_EQ(Query("Friday.2bd", "SELECT ALTDISKID FROM records WHERE UNQDISKID = '" + unq + "'"),
              std::vector<std::string>{"FF-1"});
    EXPECT_EQ(Query("Friday.2bk", "SELECT count(*) FROM records WHERE UnqDiskID = '" + unq + "'").at(0), std::to_string(more));
    EXPECT_EQ(TotalShown(), "Total Song Tracks: " + std::to_string(added + 2 + more));
}

TEST_F(MainRoadsTest, ClosingTheBookGivesTheFrameItsOpenAndAutoUpdateBack) {
    StartProgram();
    NewBookFromQuickStart("Friday");
    AddFirstBrandDiscs();
    d().Press("?CLOSE", kSongBook);
    EXPECT_FALSE(d().IsOpen(kSongBook));
    EXPECT_TRUE(d().Enabled("?FILEOPENSONGBOOK", kFrame));
    EXPECT_TRUE(d().Enabled("?FILEUPDATEDATAFILES", kFrame));
    EXPECT_TRUE(d().Enabled("?BUTTON1", kQuickStart));
    EXPECT_TRUE(d().Enabled("?BUTTON1:3", kQuickStart));
    // The frame's Open reaches the explorer again, on the same folder.
    ASSERT_TRUE(d().Press("?FILEOPENSONGBOOK", kFrame));
    ASSERT_TRUE(d().IsOpen(kExplorer));
    const auto books = d().Rows("?LIST", kExplorer);
    EXPECT_TRUE(std::any_of(books.begin(), books.end(), [](const std::string& r) { return r.find("Friday") != std::string::npos; }));
}

TEST_F(MainRoadsTest, AnExportedBookImportedIntoANewBookGivesTheSameListingsAndDiscs) {
    StartProgram();
    NewBookFromQuickStart("Friday");
    const int added = AddFirstBrandDiscs();
    const std::string csv = BookPath("friday.csv");
    d().Press("?EXPORT", kSongBook);
    ASSERT_TRUE(d().IsOpen(kExportWindow));
    d().AnswerFileDialog(csv);
    d().AnswerMessage("Export Operation Completed", fw::Button::Ok);
    d().Press("?OKBUTTON", kExportWindow);
    EXPECT_TRUE(d().TickUntil([&] { return !d().IsOpen("P1$PROGRESSWINDOW"); }));
    EXPECT_FALSE(d().IsOpen(kExportWindow));
    const std::string written = ReadFile(csv);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), added);

    d().Press("?CLOSE", kSongBook);
    NewBookFromQuickStart("Saturday");
    d().AnswerFileDialog(csv);
    ASSERT_TRUE(d().Press("?IMPORT", kSongBook));
    ASSERT_TRUE(d().IsOpen(kImportWindow));
    EXPECT_EQ(d().Text("?NOCONFLICTTEXT", kImportWindow), "The Import File has been Analyzed and NO Conflicts Exist!");
    d().Press("?OKBUTTON", kImportWindow);
    EXPECT_TRUE(d().TickUntil([&] { return !d().IsOpen("P1$PROGRESSWINDOW"); }));
    EXPECT_FALSE(d().IsOpen(kImportWindow));

    const char* listings = "SELECT TITLE, ARTIST, UNQDISKID, DISKTRACKNO, MAKEID, GENRE, DateAdded FROM records ORDER BY UNQDISKID, DISKTRACKNO";
    const char* discs = "SELECT UNQDISKID, ALTDISKID, MakeID, MAKETYPE FROM records ORDER BY UNQDISKID";
    EXPECT_EQ(Query("Saturday.2bk", listings), Query("Friday.2bk", listings));
    EXPECT_EQ(Query("Saturday.2bd", discs), Query("Friday.2bd", discs));
    EXPECT_EQ(TotalShown(), "Total Song Tracks: " + std::to_string(added));
    EXPECT_EQ(d().Rows("?LISTTITLE", kSongBook).empty(), false);
}

TEST_F(MainRoadsTest, ABackupRestoredOverAChangedBookBringsItsListingsBack) {
    StartProgram();
    NewBookFromQuickStart("Friday");
    const int added = AddFirstBrandDiscs();
    const char* listings = "SELECT TITLE, UNQDISKID, DISKTRACKNO FROM records ORDER BY UNQDISKID, DISKTRACKNO";
    const auto before = Query("Friday.2bk", listings);
    d().Press("?CLOSE", kSongBook);

    // Backup from the explorer, into a folder of its own.
    const std::string backups = RootPath("Backups");
    std::filesystem::create_directories(backups);
    d().Press("?BUTTON1", kQuickStart);
    ASSERT_TRUE(d().IsOpen(kExplorer));
    const auto rows = d().Rows("?LIST", kExplorer);
    ASSERT_EQ(rows.size(), 1u);
    d().Choose("?LIST", 1, kExplorer);
    d().AnswerFileDialog(backups);
    d().Press("?BUTTON7", kExplorer);
    EXPECT_EQ(d().Text("?STATUSMESSAGE", kExplorer), songbook::text::kBackupCreated);
    ASSERT_TRUE(std::filesystem::exists(backups + "/Friday.bkp"));

    // The book changed: a whole disc deleted.
    d().Press("?BUTTON6", kExplorer);
    ASSERT_TRUE(d().IsOpen(kSongBook));
    d().AnswerMessage("delete the Selected Song Listing ONLY", 2);
    d().AnswerMessage("have been successfully deleted", fw::Button::Ok);
    d().Press("?DELETETRACK", kSongBook);
    EXPECT_EQ(d().UnusedAnswers(), 0u);
    ASSERT_LT(Count("Friday.2bk"), added);
    d().Press("?CLOSE", kSongBook);

    // Restored over it: the listings are back, and the window shows them.
    d().Press("?BUTTON1", kQuickStart);
    ASSERT_TRUE(d().IsOpen(kExplorer));
    d().AnswerFileDialog(backups + "/Friday.bkp");
    d().AnswerMessage(songbook::text::ReplaceQuestion("Friday"), fw::Button::Yes);
    d().Press("?BUTTON8", kExplorer);
    EXPECT_EQ(d().UnusedAnswers(), 0u);
    EXPECT_EQ(d().Text("?STATUSMESSAGE", kExplorer), songbook::text::kRestored);
    EXPECT_EQ(Query("Friday.2bk", listings), before);
    d().Choose("?LIST", 1, kExplorer);
    d().Press("?BUTTON6", kExplorer);
    ASSERT_TRUE(d().IsOpen(kSongBook));
    EXPECT_EQ(TotalShown(), "Total Song Tracks: " + std::to_string(added));
}

TEST_F(MainRoadsTest, SearchingTheSongBaseBesideTheBookCountsTheBooksCopiesAndTheBookSearchesItself) {
    StartProgram();
    NewBookFromQuickStart("Friday");
    AddFirstBrandDiscs();
    // An artist of the book and the book's listings on each disc.
    const auto first = Query("Friday.2bk", "SELECT TITLE, ARTIST FROM records ORDER BY UnqDiskID DESC, DISKTRACKNO LIMIT 1").at(0);
    const std::string title = first.substr(0, first.find('|'));
    const std::string artist = first.substr(first.find('|') + 1);
    std::map<std::string, std::string> listingsOnDisc;
    for (const std::string& row : Query("Friday.2bk", "SELECT UnqDiskID, count(*) FROM records GROUP BY UnqDiskID"))
        listingsOnDisc[row.substr(0, row.find('|'))] = row.substr(row.find('|') + 1);

    d().Press("?SEARCHMAIN", kSongBook);
    ASSERT_TRUE(d().IsOpen(kSearchWindow));
    d().Choose("?SEARCHBY", 2, kSearchWindow);
    d().Type("?SEARCHFIELD", artist.substr(0, 25), kSearchWindow);
    d().Press("?BUTTON6", kSearchWindow);
    const auto artists = d().Rows("?LIST:3", kSearchWindow);
    const auto hit = std::find_if(artists.begin(), artists.end(), [&](const std::string& t) {
        return QString::fromStdString(t).compare(QString::fromStdString(artist.substr(0, 25)), Qt::CaseInsensitive) == 0;
    });
    ASSERT_NE(hit, artists.end()) << artist;
    d().Choose("?LIST:3", static_cast<int>(hit - artists.begin()) + 1, kSearchWindow);
    // Each of the artist's discs in the book counts all its listings there.
    int checked = 0;
    for (const std::string& row : d().Rows("?LIST:4", kSearchWindow)) {
        std::vector<std::string> cells;
        for (QString c : QString::fromStdString(row).split('|')) cells.push_back(c.toStdString());
        ASSERT_EQ(cells.size(), 6u) << row;
        const auto inBook = listingsOnDisc.find(cells[3]);
        if (inBook == listingsOnDisc.end()) continue;
        EXPECT_EQ(cells[5], inBook->second) << row;
        ++checked;
    }
    EXPECT_GT(checked, 0) << artist;
    d().Press("?BUTTON2", kSearchWindow);
    EXPECT_FALSE(d().IsOpen(kSearchWindow));

    // The song-book window's own search moves its list to the title.
    d().Type("?SEARCHSTRING", title, kSongBook);
    d().Press("?BUTTON28", kSongBook);
    const int at = d().Highlight("?LISTTITLE", kSongBook);
    ASSERT_GE(at, 1);
    const std::string shown = d().Rows("?LISTTITLE", kSongBook).at(static_cast<std::size_t>(at - 1));
    EXPECT_EQ(shown.substr(0, shown.find('|')), title);
}

TEST_F(MainRoadsTest, RenumberTheMultiListingEditAndTheTracksOfADiscOnTheFilledBook) {
    StartProgram();
    NewBookFromQuickStart("Friday");
    AddFirstBrandDiscs();
    const std::string custom = Query("Friday.2bd", "SELECT UNQDISKID FROM records WHERE ALTDISKID = 'H-1'").at(0);

    // Renumber: the disc with the custom ID gets another.
    ASSERT_TRUE(d().Enabled("?RENUMBERDISCS:2", kSongBook));
    d().Press("?RENUMBERDISCS:2", kSongBook);
    ASSERT_TRUE(d().IsOpen(kRenumber));
    const auto discs = d().Rows("?LIST", kRenumber);
    const auto h1 = std::find(discs.begin(), discs.end(), custom + "|H-1");
    ASSERT_NE(h1, discs.end());
    // Down saves the row's ID as it is and edits the next one.
    for (auto row = discs.begin(); row != h1; ++row) d().Key("?LIST", fw::KeyCode::Down, kRenumber);
    d().Type("?LIST", "H-9", kRenumber);
    d().Key("?LIST", fw::KeyCode::Esc, kRenumber);
    EXPECT_FALSE(d().IsOpen(kRenumber));
    EXPECT_EQ(Query("Friday.2bd", "SELECT ALTDISKID FROM records WHERE UNQDISKID = '" + custom + "'"),
              std::vector<std::string>{"H-9"});

    // The tracks of the first title's disc, under its custom ID.
    const auto first = d().Rows("?LISTTITLE", kSongBook).at(0);
    const std::string title = first.substr(0, first.find('|'));
    const auto disc = Query("Friday.2bk", "SELECT UnqDiskID FROM records WHERE TITLE = '" + title + "'").at(0);
    const auto alt = Query("Friday.2bd", "SELECT ALTDISKID FROM records WHERE UNQDISKID = '" + disc + "'").at(0);
    d().AnswerPopup(1);
    d().RightClick("?LISTTITLE", 1, kSongBook);
    ASSERT_TRUE(d().IsOpen(kDiscTracks));
    EXPECT_EQ(d().Caption(kDiscTracks), "Displaying All Tracks Found on Disc: " + alt);
    EXPECT_EQ(std::to_string(d().Rows("?LIST", kDiscTracks).size()),
              Query("Friday.2bk", "SELECT count(*) FROM records WHERE UnqDiskID = '" + disc + "'").at(0));
    d().Press("?CLOSE", kDiscTracks);
    EXPECT_FALSE(d().IsOpen(kDiscTracks));

    // The multi-listing edit on the first title's artist: every listing of
    // that artist renamed.
    const std::string artist = first.substr(first.find('|') + 1, first.find('|', first.find('|') + 1) - first.find('|') - 1);
    const std::string ofArtist = Query("Friday.2bk", "SELECT count(*) FROM records WHERE ARTIST = '" + artist + "'").at(0);
    d().AnswerPopup(6);
    d().RightClick("?LISTTITLE", 1, kSongBook);
    ASSERT_TRUE(d().IsOpen(kMultiEdit));
    d().Check("?GLO:BATCHCHANGEARTIST", true, kMultiEdit);
    d().Type("?GLO:SBK:ARTIST", "Renamed Artist", kMultiEdit);
    d().AnswerMessage("Are you sure you wish to continue|with this Multi-Listing Edit?", fw::Button::Yes);
    d().Press("?OKBUTTON", kMultiEdit);
    EXPECT_TRUE(d().TickUntil([&] { return !d().IsOpen("P1$PROGRESSWINDOW"); }));
    EXPECT_EQ(Query("Friday.2bk", "SELECT count(*) FROM records WHERE ARTIST = '" + artist + "'").at(0), "0");
    EXPECT_EQ(Query("Friday.2bk", "SELECT count(*) FROM records WHERE ARTIST = 'Renamed Artist'").at(0), ofArtist);
    EXPECT_THAT(d().Rows("?LISTTITLE", kSongBook).at(0), StartsWith(title + "|Renamed Artist|"))
        << "the page stays where it was, on the listing edited";
    EXPECT_EQ(d().Highlight("?LISTTITLE", kSongBook), 1);
}

// How often a dump holds the text.
int Occurrences(const std::string& dump, const std::string& text) {
    int n = 0;
    for (std::size_t at = dump.find(text); at != std::string::npos; at = dump.find(text, at + 1)) ++n;
    return n;
}

TEST_F(MainRoadsTest, ThePrintMenuPrintsTheReportsLabelsAndSlipsOfTheFilledBook) {
    StartProgram();
    NewBookFromQuickStart("Friday");
    const int added = AddFirstBrandDiscs();
    const int discs = Count("Friday.2bd");
    ASSERT_TRUE(d().Enabled("?PRINT", kSongBook));
    d().Press("?PRINT", kSongBook);
    ASSERT_TRUE(d().IsOpen(kPrintMenu));
    const auto printReport = [&](const char* button) {
        d().Press(button, kReportsMenu);
        ASSERT_TRUE(d().IsOpen(kDestination));
        d().Press("?PREVIEWOPTION:PRINT", kDestination);
        d().AnswerMessage("went to the printer", fw::Button::Ok);
        d().Press("?OK", kDestination);
        EXPECT_TRUE(d().TickUntil([&] { return !d().IsOpen("P1$PROGRESSWINDOW"); }, 1000));
    };

    // The management reports: every listing, then every disc.
    d().Press("?PRINTREPORTS", kPrintMenu);
    ASSERT_TRUE(d().IsOpen(kReportsMenu));
    printReport("?BUTTON2");
    ASSERT_EQ(printed.jobs.size(), 1u);
    EXPECT_EQ(printed.jobs[0].title, "Song Track Report Preview");
    int rows = 0;
    for (const std::string& page : printed.jobs[0].pages) rows += Occurrences(page, "band DETAIL");
    EXPECT_EQ(rows, added);
    printReport("?BUTTON2:2");
    ASSERT_EQ(printed.jobs.size(), 2u);
    EXPECT_EQ(printed.jobs[1].title, "Disc Inventory Report Preview");
    rows = 0;
    for (const std::string& page : printed.jobs[1].pages) rows += Occurrences(page, "band DETAIL");
    EXPECT_EQ(rows, discs);
    EXPECT_NE(printed.jobs[1].pages.at(0).find("clip \"H-1\""), std::string::npos);
    d().Press("?CANCELBUTTON", kReportsMenu);

    // CD labels of two tagged discs.
    d().Press("?PRINTLABELS", kPrintMenu);
    ASSERT_TRUE(d().IsOpen(kLabelSetup));
    ASSERT_GE(d().Rows("?LIST", kLabelSetup).size(), 2u);
    d().Choose("?LIST", 1, kLabelSetup);
    d().Press("?DASTAG", kLabelSetup);
    d().Choose("?LIST", 2, kLabelSetup);
    d().Press("?DASTAG", kLabelSetup);
    d().AnswerMessage("compatable CD labels loaded", fw::Button::Yes);
    d().AnswerMessage("went to the printer", fw::Button::Ok);
    d().Press("?PRINTLABELS", kLabelSetup);
    ASSERT_TRUE(d().IsOpen(kDestination));
    d().Press("?PREVIEWOPTION:PRINT", kDestination);
    d().Press("?OK", kDestination);
    EXPECT_TRUE(d().TickUntil([&] { return !d().IsOpen("P1$PROGRESSWINDOW"); }, 1000));
    ASSERT_EQ(printed.jobs.size(), 3u);
    ASSERT_FALSE(printed.jobs[2].pages.empty());
    EXPECT_EQ(Occurrences(printed.jobs[2].pages[0], "band LABELHEADER"), 2);
    d().Press("?CANCEL", kLabelSetup);

    // Request slips.
    d().Press("?PRINTREQUESTSLIPS", kPrintMenu);
    ASSERT_TRUE(d().IsOpen(kSlipSetup));
    d().Press("?OKBUTTON", kSlipSetup);
    if (d().IsOpen(kDestination)) {
        d().Press("?PREVIEWOPTION:PRINT", kDestination);
        d().AnswerMessage("went to the printer", fw::Button::Ok);
        d().Press("?OK", kDestination);
    }
    EXPECT_TRUE(d().TickUntil([&] { return !d().IsOpen("P1$PROGRESSWINDOW"); }, 1000));
    ASSERT_EQ(printed.jobs.size(), 4u);
    EXPECT_FALSE(printed.jobs[3].pages.empty());
    d().Press("?CANCELBUTTON", kSlipSetup);
    d().Press("?CANCELBUTTON", kPrintMenu);
    EXPECT_FALSE(d().IsOpen(kPrintMenu));
    EXPECT_TRUE(d().IsOpen(kSongBook));
}

TEST_F(MainRoadsTest, TheDesignersPrintSongBookPrintsEveryListingOfTheFilledBook) {
    StartProgram();
    NewBookFromQuickStart("Friday");
    const int added = AddFirstBrandDiscs();
    d().Press("?PRINT", kSongBook);
    ASSERT_TRUE(d().IsOpen(kPrintMenu));
    d().Press("?PRINTSONGBOOK", kPrintMenu);
    ASSERT_TRUE(d().IsOpen(kDesigner));
    ASSERT_TRUE(d().Enabled("?PRINTSONGBOOK", kDesigner));
    d().Press("?PRINTSONGBOOK", kDesigner);
    ASSERT_TRUE(d().IsOpen(kDestination));
    d().Press("?PREVIEWOPTION:PRINT", kDestination);
    d().AnswerMessage("went to the printer", fw::Button::Ok);
    d().Press("?OK", kDestination);
    EXPECT_TRUE(d().TickUntil([&] { return !d().IsOpen("P1$PROGRESSWINDOW"); }));
    ASSERT_EQ(printed.jobs.size(), 1u);
    ASSERT_FALSE(printed.jobs[0].pages.empty());
    std::string all;
    for (const std::string& page : printed.jobs[0].pages) all += page;
    const auto titles = Query("Friday.2bk", "SELECT TITLE FROM records");
    ASSERT_EQ(static_cast<int>(titles.size()), added);
    for (const std::string& title : titles) EXPECT_NE(all.find("\"" + title + "\""), std::string::npos) << title;
    EXPECT_TRUE(d().IsOpen(kDesigner)) << "the designer stays open for another print";
    d().Press("?CLOSEBUTTON", kDesigner);
    EXPECT_FALSE(d().IsOpen(kDesigner));
    d().Press("?CANCELBUTTON", kPrintMenu);
    EXPECT_TRUE(d().IsOpen(kSongBook));
}

}  // namespace
}  // namespace integration_test
