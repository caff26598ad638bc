// Books of the earlier formats converted when the song-book window opens
// them: the field mapping, the overwrite question, names already taken,
// duplicate keys, cancel, the older .2bk layout with its original kept, and
// a failure while the files are put in place.

#include "songbook/convert_books.h"
#include "songbook/earlier_layouts.h"
#include "songbook/book_file_steps.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/text/dates.h"
#include "platform/ui/message.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbase.h"
#include "shell/data_files.h"

#include "older_books.h"
#include "song_book_window_fixture.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shell/data_dictionary_prefixes.h"

namespace {

namespace fs = std::filesystem;
using namespace song_book_test;
using Strings = std::vector<std::string>;
constexpr const char* kBook = kSongBookWindow;
constexpr const char* kProgress = "P1$PROGRESSWINDOW";
constexpr const char* kConvertQuestion = "must be converted to the new format";
constexpr const char* kNotConverted = "The SongBook could not be converted.";

// The date every fixture listing was added, unless it says otherwise.
std::int32_t Added() { return static_cast<std::int32_t>(fw::DATE(5, 17, 2004)); }

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(EarlierLayouts, AnSbkListingMapsFieldByFieldAndTrackZeroMakesADisclessTrack) {
    songbook::SongBook11Rec old{};
    old.TITLE = "Danny Boy";
    old.ARTIST = "Trad";
    old.LOCATION = "Shelf 2";
    old.DATEADDED = 12345;
    old.UNQDISKID = "SC100";
    old.DISKTRACKNO = 7;
    songbook::SBDiscs11Rec disc{};
    disc.UNQDISKID = "SC100";
    disc.MAKEID = 3;
    disc.ALTDISKID = "101";

    songbook::MappedListing m = songbook::MapSbkListing(old, &disc, "SC");
    EXPECT_EQ(m.listing.Title.Str(), "Danny Boy");
    EXPECT_EQ(m.listing.Artist.Str(), "Trad");
    EXPECT_EQ(m.listing.LOCATION.Str(), "Shelf 2");
    EXPECT_EQ(m.listing.DateAdded, 12345);
    EXPECT_EQ(m.listing.UnqDiskID.Str(), "SC100");
    EXPECT_EQ(m.listing.DISKTRACKNO, 7u);
    EXPECT_EQ(m.listing.MAKEID.Str(), "SC");
    EXPECT_TRUE(m.listing.GENRE.Blank() && m.listing.Duet.Blank() && m.listing.PRINT.Blank());
    EXPECT_EQ(m.disc.UNQDISKID.Str(), "SC100");
    EXPECT_EQ(m.disc.MAKETYPE.Str(), "SC");
    EXPECT_EQ(m.disc.MakeID, 3);
    EXPECT_EQ(m.disc.ALTDISKID.Str(), "101");

    m = songbook::MapSbkListing(old, nullptr, "");
    EXPECT_EQ(m.disc.ALTDISKID.Str(), "SC100") << "a missing disc record: the disc ID is the custom ID";
    EXPECT_TRUE(m.listing.MAKEID.Blank());

    struct Case {
        const char* disc;
        std::uint32_t track;
    } cases[] = {{"00123", 123}, {" 42 ", 42}, {"12AB", 0}, {"MP3", 0}, {"", 0}};
    old.DISKTRACKNO = 0;
    for (const Case& c : cases) {
        old.UNQDISKID = c.disc;
        m = songbook::MapSbkListing(old, nullptr, "");
        EXPECT_EQ(m.listing.UnqDiskID.Str(), "*") << c.disc;
        EXPECT_EQ(m.listing.DISKTRACKNO, c.track) << c.disc;
        EXPECT_EQ(m.disc.UNQDISKID.Str(), "*");
        EXPECT_EQ(m.disc.ALTDISKID.Str(), "*");
    }
}

class ConvertBooksTest : public SongBookWindowTest {
protected:
    void SetUp() override {
        SongBookWindowTest::SetUp();
        songbook::SetBookChooser([this] { return Path(chosen); });
    }
    void TearDown() override {
        songbook::SetBookFileOps();
        SongBookWindowTest::TearDown();
    }
    // The Main SongBase knows these discs.
    void MakeSongBaseDiscs(const Strings& ids) {
        fw::File& discs = shell::Discs();
        fw::CREATE(discs);
        fw::OPEN(discs, fw::ReadWrite | fw::DenyNone);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        for (const std::string& id : ids) {
            DIS.UnqDiskID = id;
            DIS.DISKID = id;
            DIS.MakeID = 1;
            fw::ADD(discs);
        }
        fw::CLOSE(discs);
    }
    void MakeOlderPair(const std::vector<OlderListing>& listings, const std::vector<OlderDisc>& discs) {
        WriteFile(Path("Party.sbk"), SbkFile(listings));
        WriteFile(Path("Party.sbd"), SbdFile(discs));
    }
    // Starts the window; the conversion runs in its progress window.
    void OpenConverting() {
        d.Start([] { songbook::BrowseSongBook(); });
        d.TickUntil([&] { return !d.IsOpen(kProgress); });
    }
    bool Exists(const std::string& name) const { return fs::exists(Path(name)); }
    // The book files of the folder (the Main SongBase's left out).
    Strings BookFiles() const {
        Strings names;
        for (const auto& e : fs::directory_iterator(Folder())) {
            const std::string n = e.path().filename().string();
            if (n.rfind("Party", 0) == 0) names.push_back(n);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string chosen = "Party.sbk";
};

TEST_F(ConvertBooksTest, AnSbkBookConvertsWithEachDiscOnceAndOpens) {
    MakeSongBaseDiscs({"SC100"});
    MakeOlderPair({{"Alpha", "Ann", "SC100", 1, "Shelf 1"},
                   {"Bravo", "Bob", "sc100", 2},
                   {"Charlie", "Cy", "SC100", 3},
                   {"Delta", "Di", "XY7", 4},
                   {"Echo", "Ed", "00012", 0},
                   {"Foxtrot", "Fay", "7", 0}},
                  {{"SC100", 3, "101"}});
    d.AnswerMessage(kConvertQuestion, fw::Button::Yes);
    OpenConverting();
    ASSERT_TRUE(d.IsOpen(kBook));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(d.Caption(kBook), Path("Party.2bk"));
    EXPECT_EQ(d.Rows("?LISTTITLE", kBook).size(), 6u);
    d.Press("?CLOSE", kBook);

    EXPECT_EQ(BookListings("Party"),
              (std::vector<Listing>{{"Foxtrot", "Fay", "*", 7, "", "", Added()},
                                    {"Echo", "Ed", "*", 12, "", "", Added()},
                                    {"Alpha", "Ann", "SC100", 1, "", "SC", Added()},
                                    {"Bravo", "Bob", "sc100", 2, "", "sc", Added()},
                                    {"Charlie", "Cy", "SC100", 3, "", "SC", Added()},
                                    {"Delta", "Di", "XY7", 4, "", "", Added()}}));
    // Brand 0 of the discs without an old record became 1 when the book opened.
    EXPECT_EQ(BookDiscs("Party"),
              (std::vector<Disc>{{"*", "*", 1, ""}, {"SC100", "101", 3, "SC"}, {"XY7", "XY7", 1, ""}}));
    EXPECT_EQ(BookFiles(), (Strings{"Party.2bd", "Party.2bk", "Party.sxd", "Party.sxk"}));
}

TEST_F(ConvertBooksTest, WithoutItsDiscsFileEveryDiscTakesItsOwnIdAsCustomId) {
    WriteFile(Path("Party.sbk"), SbkFile({{"Alpha", "Ann", "SC1", 1}, {"Bravo", "Bob", "SC2", 1}}));
    d.AnswerMessage(kConvertQuestion, fw::Button::Yes);
    OpenConverting();
    ASSERT_TRUE(d.IsOpen(kBook));
    d.Press("?CLOSE", kBook);
    EXPECT_EQ(BookDiscs("Party"), (std::vector<Disc>{{"SC1", "SC1", 1, ""}, {"SC2", "SC2", 1, ""}}));
    EXPECT_EQ(BookFiles(), (Strings{"Party.2bd", "Party.2bk", "Party.sxk"}));
}

TEST_F(ConvertBooksTest, TheOverwriteQuestionKeepsOrReplacesTheNewerBook) {
    for (int answer : {fw::Button::No, fw::Button::Yes}) {
        SCOPED_TRACE(answer);
        for (const auto& e : fs::directory_iterator(Folder())) fs::remove(e.path());
        MakeBook("Party", {{"NEW1", "N1"}}, {{"Existing", "Singer", "NEW1", 1}});
        MakeOlderPair({{"Older", "Singer", "OLD1", 1}}, {{"OLD1", 1, "O1"}});
        const std::string sbk = Slurp(Path("Party.sbk"));
        d.AnswerMessage(kConvertQuestion, fw::Button::Yes);
        d.AnswerMessage("New Version of SongBook Already Exists!", answer);
        OpenConverting();
        ASSERT_TRUE(d.IsOpen(kBook));
        EXPECT_EQ(d.UnusedAnswers(), 0u);
        d.Press("?CLOSE", kBook);
        if (answer == fw::Button::No) {
            EXPECT_EQ(BookListings("Party").at(0).title, "Existing");
            EXPECT_EQ(BookFiles(), (Strings{"Party.2bd", "Party.2bk", "Party.sbd", "Party.sbk"}));
            EXPECT_EQ(Slurp(Path("Party.sbk")), sbk);
        } else {
            ASSERT_EQ(BookListings("Party").size(), 1u);
            EXPECT_EQ(BookListings("Party").at(0).title, "Older");
            EXPECT_EQ(BookFiles(), (Strings{"Party.2bd", "Party.2bk", "Party.sxd", "Party.sxk"}));
            EXPECT_EQ(Slurp(Path("Party.sxk")), sbk);
        }
    }
}

TEST_F(ConvertBooksTest, AnSxkLeftByAnEarlierConversionStopsItAndChangesNothing) {
    MakeOlderPair({{"Older", "Singer", "OLD1", 1}}, {{"OLD1", 1, "O1"}});
    WriteFile(Path("Party.sxk"), "an earlier conversion's");
    const std::string sbk = Slurp(Path("Party.sbk"));
    d.AnswerMessage(kConvertQuestion, fw::Button::Yes);
    d.AnswerMessage("cannot be renamed to " + Path("Party.sxk"), fw::Button::Ok);
    OpenConverting();
    EXPECT_FALSE(d.IsOpen(kBook));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(BookFiles(), (Strings{"Party.sbd", "Party.sbk", "Party.sxk"}));
    EXPECT_EQ(Slurp(Path("Party.sbk")), sbk);
    EXPECT_EQ(Slurp(Path("Party.sxk")), "an earlier conversion's");
}

TEST_F(ConvertBooksTest, AFailedRenameOfTheOlderPairUndoesEverything) {
    MakeBook("Party", {{"NEW1", "N1"}}, {{"Existing", "Singer", "NEW1", 1}});
    MakeOlderPair({{"Older", "Singer", "OLD1", 1}}, {{"OLD1", 1, "O1"}});
    const std::string sbk = Slurp(Path("Party.sbk"));
    const std::string existing = Slurp(Path("Party.2bk"));
    songbook::BookFileOps ops;
    ops.rename = [](const std::string& from, const std::string& to) {
        if (to.size() > 4 && to.substr(to.size() - 4) == ".sxd") return EACCES;
        return songbook::RealBookFileOps().rename(from, to);
    };
    songbook::SetBookFileOps(ops);
    d.AnswerMessage(kConvertQuestion, fw::Button::Yes);
    d.AnswerMessage("New Version of SongBook Already Exists!", fw::Button::Yes);
    d.AnswerMessage(kNotConverted, fw::Button::Ok);
    OpenConverting();
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_FALSE(d.IsOpen(kBook));
    EXPECT_EQ(BookFiles(), (Strings{"Party.2bd", "Party.2bk", "Party.sbd", "Party.sbk"}));
    EXPECT_EQ(Slurp(Path("Party.sbk")), sbk);
    EXPECT_EQ(Slurp(Path("Party.2bk")), existing) << "the newer book is back";
    for (const auto& e : fs::directory_iterator(Folder()))
        EXPECT_EQ(e.path().filename().string().find("cv-import"), std::string::npos) << e.path();
}

// What the conversion changes, case by case: the new book's listings (title,
// disc and track, in disc and track order), its discs (disc and custom ID)
// and the lines of the list of changes written beside it.
struct ChangeCase {
    const char* name;
    std::vector<OlderListing> listings;
    std::vector<OlderDisc> discs;
    Strings keys;
    Strings discIds;
    Strings log;
};

const ChangeCase kChangeCases[] = {
    {"one taken discless track moves, no other",
     {{"A", "a", "1", 0}, {"B", "b", "2", 0}, {"C", "c", "2", 0}, {"D", "d", "3", 0}, {"E", "e", "4", 0}},
     {},
     {"A */1", "B */2", "D */3", "E */4", "C */5"},
     {"* *"},
     {"Renumbered: \"C\" by c: discless track 2 is taken, so it is now track 5."}},
    {"a disc track taken twice: the same song merges, another is dropped",
     {{"First", "A", "SC1", 2}, {"First", "a", "sc1", 2, "Shelf"}, {"Second", "B", "SC1", 2, "Box 3"}, {"Third", "C", "SC1", 3}},
     {{"SC1", 1, "C1"}},
     {"First SC1/2", "Third SC1/3"},
     {"SC1 C1"},
     {"Merged: \"First\" by a, disc sc1 track 2, is in the book once.",
      "Dropped: \"Second\" by B, disc SC1 track 2 (location \"Box 3\"): the track is taken by another song, so this "
      "listing was left out."}},
    {"discless tracks from old disc IDs that are no numbers, and blank ones",
     {{"Mp3", "E", "MP3", 0}, {"Cavs", "F", "CAVS", 0}, {"Blank", "G", "", 0}, {"Five", "H", "5", 0}},
     {},
     {"Mp3 */0", "Five */5", "Cavs */6", "Blank */7"},
     {"* *"},
     {"Renumbered: \"Cavs\" by F: discless track 0 is taken, so it is now track 6.",
      "Renumbered: \"Blank\" by G: discless track 0 is taken, so it is now track 7."}},
    {"a blank disc ID with a track becomes a discless track",
     {{"Lost", "L", "", 3}, {"Three", "T", "3", 0}, {"Kept", "K", "SC2", 1}},
     {{"SC2", 1, "C2"}},
     {"Lost */3", "Three */4", "Kept SC2/1"},
     {"* *", "SC2 C2"},
     {"Repaired: \"Lost\" by L: its disc ID was blank, so it is now discless track 3.",
      "Renumbered: \"Three\" by T: discless track 3 is taken, so it is now track 4."}},
    {"blank and clashing custom IDs give way to the disc's own ID",
     {{"One", "A", "SC1", 1}, {"Two", "B", "SC2", 1}, {"Three", "C", "SC3", 1}, {"Star", "D", "SC4", 1},
      {"Disc", "E", "9", 0}},
     {{"SC1", 1, "C1"}, {"SC2", 1, ""}, {"SC3", 1, "c1"}, {"SC4", 1, "*"}},
     {"Disc */9", "One SC1/1", "Two SC2/1", "Three SC3/1", "Star SC4/1"},
     {"* *", "SC1 C1", "SC2 SC2", "SC3 SC3", "SC4 SC4"},
     {"Repaired: disc SC2: its custom ID was blank, so it is now SC2.",
      "Repaired: disc SC3: custom ID c1 is used by another disc, so it is now SC3.",
      "Repaired: disc SC4: custom ID * is used by another disc, so it is now SC4."}},
    {"the largest track numbers",
     {{"Top", "A", "SC1", 65535}, {"Again", "B", "SC1", 65535}, {"Max", "C", "4294967295", 0},
      {"Over", "D", "4294967295", 0}, {"One", "E", "1", 0}},
     {{"SC1", 1, "C1"}},
     {"One */1", "Over */2", "Max */4294967295", "Top SC1/65535"},
     {"* *", "SC1 C1"},
     {"Dropped: \"Again\" by B, disc SC1 track 65535 (location \"\"): the track is taken by another song, so this "
      "listing was left out.",
      "Renumbered: \"Over\" by D: discless track 4294967295 is taken, so it is now track 2."}},
};

TEST_F(ConvertBooksTest, EachChangeIsMadeToTheClashingListingOnlyAndWrittenToTheList) {
    for (const ChangeCase& c : kChangeCases) {
        SCOPED_TRACE(c.name);
        for (const auto& e : fs::directory_iterator(Folder()))
            if (e.path().filename().string().rfind("Party", 0) == 0) fs::remove(e.path());
        MakeOlderPair(c.listings, c.discs);
        d.AnswerMessage(kConvertQuestion, fw::Button::Yes);
        const std::string changes = std::to_string(c.log.size()) + (c.log.size() == 1 ? " change " : " changes ");
        d.AnswerMessage("The SongBook has been converted with " + changes, fw::Button::Ok);
        OpenConverting();
        ASSERT_TRUE(d.IsOpen(kBook));
        EXPECT_EQ(d.UnusedAnswers(), 0u);
        EXPECT_NE(d.Messages().back().find("Every change is listed in " + Path("Party.conversion.log")),
                  std::string::npos)
            << d.Messages().back();
        // Every listing can be reached from the disc list too.
        d.Press("?BUTTON17:3", kBook);
        EXPECT_EQ(d.Rows("?LISTDISCID", kBook).size(), c.keys.size());
        d.Press("?CLOSE", kBook);

        Strings keys;
        for (const Listing& l : BookListings("Party")) keys.push_back(l.title + " " + l.unq + "/" + std::to_string(l.track));
        EXPECT_EQ(keys, c.keys);
        Strings discIds;
        for (const Disc& disc : BookDiscs("Party")) discIds.push_back(disc.unq + " " + disc.alt);
        EXPECT_EQ(discIds, c.discIds);
        std::istringstream log(Slurp(Path("Party.conversion.log")));
        Strings lines;
        for (std::string line; std::getline(log, line);) lines.push_back(line);
        ASSERT_FALSE(lines.empty());
        EXPECT_NE(lines.front().find("Party.sbk converted to Party.2bk:"), std::string::npos) << lines.front();
        EXPECT_EQ(Strings(lines.begin() + 1, lines.end()), c.log);
    }
}

TEST_F(ConvertBooksTest, ABookWithoutChangesWritesNoListAndALaterConversionKeepsTheEarlierList) {
    MakeOlderPair({{"Alpha", "Ann", "SC1", 1}}, {{"SC1", 1, "C1"}});
    d.AnswerMessage(kConvertQuestion, fw::Button::Yes);
    OpenConverting();
    ASSERT_TRUE(d.IsOpen(kBook));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    d.Press("?CLOSE", kBook);
    EXPECT_FALSE(Exists("Party.conversion.log"));

    for (const auto& e : fs::directory_iterator(Folder()))
        if (e.path().filename().string().rfind("Party", 0) == 0) fs::remove(e.path());
    WriteFile(Path("Party.conversion.log"), "an earlier list\n");
    MakeOlderPair({{"A", "a", "1", 0}, {"B", "b", "1", 0}}, {});
    d.AnswerMessage(kConvertQuestion, fw::Button::Yes);
    d.AnswerMessage("The SongBook has been converted with 1 change ", fw::Button::Ok);
    OpenConverting();
    ASSERT_TRUE(d.IsOpen(kBook));
    d.Press("?CLOSE", kBook);
    const std::string log = Slurp(Path("Party.conversion.log"));
    EXPECT_EQ(log.rfind("an earlier list\n\n", 0), 0u) << log;
    EXPECT_NE(log.find("Renumbered: \"B\" by b: discless track 1 is taken, so it is now track 2.\n"), std::string::npos)
        << log;
}

TEST_F(ConvertBooksTest, CancelLeavesTheOlderBookExactlyAsItWas) {
    std::vector<OlderListing> many;
    for (std::uint16_t t = 1; t <= 200; ++t) many.push_back({"Song " + std::to_string(t), "Singer", "SC1", t});
    MakeOlderPair(many, {{"SC1", 1, "C1"}});
    const std::string sbk = Slurp(Path("Party.sbk"));
    d.AnswerMessage(kConvertQuestion, fw::Button::Yes);
    d.Start([] { songbook::BrowseSongBook(); });
    ASSERT_TRUE(d.IsOpen(kProgress));
    EXPECT_EQ(d.Caption(kProgress), "Converting SongBook");
    d.Tick(3);
    d.Press("?PROGRESS:CANCEL", kProgress);
    EXPECT_FALSE(d.IsOpen(kProgress));
    EXPECT_FALSE(d.IsOpen(kBook));
    EXPECT_EQ(BookFiles(), (Strings{"Party.sbd", "Party.sbk"}));
    EXPECT_EQ(Slurp(Path("Party.sbk")), sbk);
}

class OlderLayoutTest : public ConvertBooksTest {
protected:
    void SetUp() override {
        ConvertBooksTest::SetUp();
        chosen = "Party.2bk";
        MakeBook("Party", {{"SC1", "C1"}, {"SC2", "C2"}}, {});
        WriteFile(Path("Party.2bk"), Layout165File({{"Alpha", "Ann", "SC1", 1, "Shelf", 2001, 2, 3, "Pop", "Y", "X", "SC"},
                                                    {"Bravo", "Bob", "SC1", 65535},
                                                    {"Charlie", "Cy", "SC2", 4}}));
        original = Slurp(Path("Party.2bk"));
    }
    std::string original;
};

TEST_F(OlderLayoutTest, TheBookIsRewrittenInTheCurrentLayoutWithTheOriginalKept) {
    OpenConverting();
    ASSERT_TRUE(d.IsOpen(kBook));
    EXPECT_EQ(d.Rows("?LISTTITLE", kBook).size(), 3u);
    d.Press("?CLOSE", kBook);
    EXPECT_EQ(BookListings("Party"),
              (std::vector<Listing>{{"Alpha", "Ann", "SC1", 1, "X", "SC", static_cast<std::int32_t>(fw::DATE(2, 3, 2001)),
                                     "Pop", "Y"},
                                    {"Bravo", "Bob", "SC1", 65535, "", "", Added()},
                                    {"Charlie", "Cy", "SC2", 4, "", "", Added()}}));
    EXPECT_EQ(BookFiles(), (Strings{"Party.2bd", "Party.2bk", "Party.2bk.tps-original"}));
    EXPECT_EQ(Slurp(Path("Party.2bk.tps-original")), original);
}

TEST_F(OlderLayoutTest, ListingsOutsideTheUniqueKeyAreAllKeptAndTrueClashesListed) {
    WriteFile(Path("Party.2bk"), Layout165File({{"NoDisc1", "A", "", 0},
                                                {"NoDisc2", "B", "", 0},
                                                {"Alpha", "Ann", "SC1", 1},
                                                {"Other", "Oz", "SC1", 1},
                                                {"Star1", "S", "*", 7},
                                                {"Star2", "T", "*", 7}}));
    d.AnswerMessage("The SongBook has been converted with 2 changes ", fw::Button::Ok);
    OpenConverting();
    ASSERT_TRUE(d.IsOpen(kBook));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    d.Press("?CLOSE", kBook);
    // Read as stored: the listings outside the key are in no key's order.
    Strings keys = Query("Party.2bk", "SELECT Title || ' ' || UnqDiskID, DISKTRACKNO FROM records");
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (Strings{"Alpha SC1/1", "NoDisc1 /0", "NoDisc2 /0", "Star1 */7", "Star2 */8"}));
    std::istringstream log(Slurp(Path("Party.conversion.log")));
    Strings lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("Party.2bk.tps-original converted to Party.2bk:"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1], "Dropped: \"Other\" by Oz, disc SC1 track 1 (location \"\"): the track is taken by another song, so "
                        "this listing was left out.");
    EXPECT_EQ(lines[2], "Renumbered: \"Star2\" by T: discless track 7 is taken, so it is now track 8.");
}

TEST_F(OlderLayoutTest, AFailureWhileTheNewFileIsPutInPlaceLeavesTheOriginal) {
    int renames = 0;
    songbook::BookFileOps ops;
    ops.rename = [&renames](const std::string& from, const std::string& to) {
        if (++renames == 2) return EIO;  // the new file over the book's name
        return songbook::RealBookFileOps().rename(from, to);
    };
    songbook::SetBookFileOps(ops);
    d.AnswerMessage(kNotConverted, fw::Button::Ok);
    OpenConverting();
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_FALSE(d.IsOpen(kBook));
    EXPECT_EQ(renames, 3) << "the original was renamed back";
    EXPECT_EQ(BookFiles(), (Strings{"Party.2bd", "Party.2bk"}));
    EXPECT_EQ(Slurp(Path("Party.2bk")), original);
}

}  // namespace
