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

TEST_F(ConvertBooksTest, DuplicateKeysAreRenumberedOrLeftOutAndListed) {
    MakeOlderPair({{"First", "A", "SC1", 2},
                   {"Second", "B", "SC1", 2},
                   {"Disc5", "C", "5", 0},
                   {"Also5", "D", "0005", 0},
                   {"Mp3", "E", "MP3", 0}},
                  {{"SC1", 1, "C1"}});
    d.AnswerMessage(kConvertQuestion, fw::Button::Yes);
    d.AnswerMessage("Second: disc SC1 track 2 is already taken, so this listing was left out.", fw::Button::Ok);
    OpenConverting();
    ASSERT_TRUE(d.IsOpen(kBook));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    const std::string& notes = d.Messages().back();
    EXPECT_NE(notes.find("Also5: discless track 5 is taken, so it is now track 6."), std::string::npos) << notes;
    d.Press("?CLOSE", kBook);
    Strings keys;
    for (const Listing& l : BookListings("Party")) keys.push_back(l.title + " " + l.unq + "/" + std::to_string(l.track));
    EXPECT_EQ(keys, (Strings{"Mp3 */0", "Disc5 */5", "Also5 */6", "First SC1/2"}));
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
