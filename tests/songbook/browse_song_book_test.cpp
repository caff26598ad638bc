#include "songbook/browse_song_book.h"

#include "platform/ui/layout.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window.h"
#include "platform/ui/window_api.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_thread_state.h"
#include "songbook/convert_books.h"

#include "song_book_fixture.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using songbook::BrowseSongBook;
using song_book_test::Disc;
using song_book_test::Listing;
namespace ev = songbook::frame_event;

constexpr const char* kWindow = "P1$BROWSEWINDOW";
const std::vector<int> kBalanced{ev::DisableAutoUpdate, ev::DisableOpenAndUpdate, ev::EnableAutoUpdate,
                                 ev::EnableOpenAndUpdate};

class BrowseSongBookTest : public song_book_test::SongBookFolder {
protected:
    void SetUp() override {
        SongBookFolder::SetUp();
        // Choices are taken in order; none left: the user gives up.
        songbook::SetBookChooser([this] {
            ++chooserCalls;
            if (choices.empty()) return std::string();
            std::string c = choices.front();
            choices.pop_front();
            return c;
        });
        songbook::SetGettingStarted([this] { ++gettingStarted; });
    }
    void TearDown() override {
        songbook::SetBookChooser(nullptr);
        songbook::SetGettingStarted(nullptr);
        SongBookFolder::TearDown();
    }

    // A frame that records the events posted to it.
    void StartFrame(fw::testing::Driver& d) {
        shell::FrameThread = static_cast<std::uint8_t>(d.Start([this] {
            fw::Window frame(fw::ParseLayout("window T$FRAME\nkind frame\ncaption \"Frame\"\nat 0 0 200 100\n"));
            frame.Open();
            while (fw::ACCEPT())
                if (fw::EVENT() >= ev::DisableAutoUpdate && fw::EVENT() <= ev::EnableOpenAndUpdate)
                    frameEvents.push_back(fw::EVENT());
        }));
    }

    // Starts the window on its own thread, as the frame's Open does; the
    // ActionOutcome it leaves is kept in outcome.
    void StartBrowse(fw::testing::Driver& d, std::int32_t outcomeBefore = -1) {
        d.Start([this, outcomeBefore] {
            shell::ActionOutcome() = outcomeBefore;
            BrowseSongBook();
            outcome = shell::ActionOutcome();
        });
    }

    std::deque<std::string> choices;
    int chooserCalls = 0;
    int gettingStarted = 0;
    std::vector<int> frameEvents;
    std::int32_t outcome = -99;
};

// The folder's files but the genre list.
std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (name != "GENRE.TPS") out.push_back(name);  // the window's genre list, made when missing
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST_F(BrowseSongBookTest, TheChosenNameMapsToTheCurrentPair) {
    using V = std::vector<std::string>;
    struct Case {
        const char* name;
        const char* chosen;
        bool makeBook;        // Party.2bk/.2bd with one listing
        bool makeOlder;       // Party.sbk/.sbd
        int answer;           // to the conversion question; 0: none asked
        bool windowOpens;
        const char* caption;  // the window's, a file of the folder
        bool gettingStarted;
        V filesAfter;
    } cases[] = {
        {"discs file chosen", "Party.2bd", true, false, 0, true, "Party.2bk", false, V{"Party.2bd", "Party.2bk"}},
        {"listings file chosen", "Party.2bk", true, false, 0, true, "Party.2bk", false, V{"Party.2bd", "Party.2bk"}},
        {"a missing name", "New.sbk", false, false, 0, true, "New.2bk", true, V{"New.2bd", "New.2bk"}},
        {"older book, No", "Party.sbk", false, true, fw::Button::No, false, "", false, V{"Party.sbd", "Party.sbk"}},
        {"older book, Yes", "Party.SBK", false, true, fw::Button::Yes, false, "", false, V{"Party.sbd", "Party.sbk"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& e : fs::directory_iterator(Folder())) fs::remove(e.path());
        if (c.makeBook) MakeBook("Party", {{"AV1", "1"}}, {{"Danny Boy", "Trad", "AV1", 1}});
        if (c.makeOlder) {
            std::ofstream(Path("Party.sbk")) << "older listings";
            std::ofstream(Path("Party.sbd")) << "older discs";
        }
        gettingStarted = 0;
        frameEvents.clear();
        {
            fw::testing::Driver d(fw::testing::GTestFailures());
            StartFrame(d);
            if (c.answer) d.AnswerMessage("must be converted to the new format", c.answer);
            if (c.answer == fw::Button::Yes) d.AnswerMessage("The SongBook could not be converted.", fw::Button::Ok);
            choices = {Path(c.chosen)};
            StartBrowse(d, 7);
            EXPECT_EQ(d.IsOpen(kWindow), c.windowOpens);
            EXPECT_EQ(gettingStarted, c.gettingStarted ? 1 : 0);
            if (c.windowOpens) {
                EXPECT_EQ(d.Caption(kWindow), Path(c.caption));
                EXPECT_EQ(shell::SongBookName.Str(), Path(c.caption));
                EXPECT_EQ(shell::SongBookIsOpen, 1);
                EXPECT_TRUE(d.Hidden("?SELECT", kWindow));  // not opened to select
                d.Press("?CLOSE", kWindow);
                EXPECT_FALSE(d.IsOpen(kWindow));
                EXPECT_EQ(outcome, shell::outcome::Cancelled);
            } else {
                // No: the caller's outcome is left alone; Yes: a pair that is no
                // book of the earlier format is not converted, and the window ends.
                EXPECT_EQ(outcome, c.answer == fw::Button::No ? 7 : shell::outcome::Cancelled);
            }
            EXPECT_EQ(frameEvents, kBalanced);
            EXPECT_EQ(d.UnusedAnswers(), 0u);
        }
        EXPECT_EQ(shell::SongBookIsOpen, 0);
        EXPECT_TRUE(shell::SongBookName.Blank());
        EXPECT_EQ(FilesIn(Folder()), c.filesAfter);
    }
}

TEST_F(BrowseSongBookTest, ABlankExplorerResultShowsNoWindow) {
    fw::testing::Driver d(fw::testing::GTestFailures());
    StartFrame(d);
    StartBrowse(d, 0);
    EXPECT_EQ(chooserCalls, 1);
    EXPECT_FALSE(d.IsOpen(kWindow));
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
    EXPECT_EQ(frameEvents, kBalanced);
    EXPECT_EQ(shell::SongBookIsOpen, 0);
    EXPECT_TRUE(FilesIn(Folder()).empty());
}

TEST_F(BrowseSongBookTest, BrandNumberZeroBecomesOneOnlyWhereNoOneIsUsedYet) {
    using V = std::vector<std::int32_t>;
    struct Case {
        const char* name;
        V discs;        // the book's discs' brand numbers; empty: a new book
        V brands;       // the brand list's
        V discsAfter;
        V brandsAfter;
    } cases[] = {
        {"all zero", V{0, 0, 0}, V{0, 0}, V{1, 1, 1}, V{1, 1}},
        {"one in use", V{0, 1, 0}, V{1, 0}, V{0, 1, 0}, V{1, 0}},
        {"other numbers stay", V{0, 5}, V{7, 0}, V{1, 5}, V{7, 1}},
        {"a new book", V{}, V{0, 3}, V{}, V{1, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& e : fs::directory_iterator(Folder())) fs::remove(e.path());
        MakeBrands(c.brands);
        if (!c.discs.empty()) {
            std::vector<Disc> discs;
            for (std::size_t i = 0; i < c.discs.size(); ++i)
                discs.push_back({"AV" + std::to_string(i), std::to_string(i), c.discs[i]});
            MakeBook("Party", discs, {{"Danny Boy", "Trad", "AV0", 1}});
        }
        {
            fw::testing::Driver d(fw::testing::GTestFailures());
            choices = {Path("Party.2bk")};
            StartBrowse(d);
            ASSERT_TRUE(d.IsOpen(kWindow));
            d.CloseWindow(kWindow);
        }
        EXPECT_EQ(DiscBrands("Party"), c.discsAfter);
        EXPECT_EQ(Brands(), c.brandsAfter);
    }
}

TEST_F(BrowseSongBookTest, ASecondOpenWhileChoosingEndsAndLeavesTheFirst) {
    // A chooser with a window of its own, answered later.
    std::string typed;
    songbook::SetBookChooser([&typed] {
        fw::Window w(fw::ParseLayout("window T$CHOOSER\ncaption \"Choose\"\nat 0 0 200 60\n"
                                     "control ?CHOSENPATH entry\n  at 4 4 150 12\n"
                                     "control ?CHOSENOK button\n  text \"OK\"\n  at 4 20 40 14\n"));
        w.Use("?CHOSENPATH", typed);
        w.Open();
        while (fw::ACCEPT())
            if (fw::ACCEPTED() == "?CHOSENOK") fw::POST(fw::Event::CloseWindow);
        return typed;
    });
    MakeBook("Party", {{"AV1", "1"}}, {{"Danny Boy", "Trad", "AV1", 1}});
    fw::testing::Driver d(fw::testing::GTestFailures());
    StartFrame(d);
    StartBrowse(d);
    ASSERT_TRUE(d.IsOpen("T$CHOOSER"));
    frameEvents.clear();

    d.Start(BrowseSongBook);  // the second Open
    EXPECT_TRUE(d.IsOpen("T$CHOOSER"));
    EXPECT_TRUE(frameEvents.empty());  // it told the frame nothing

    d.Type("?CHOSENPATH", Path("Party.2bk"));
    d.Press("?CHOSENOK");
    EXPECT_FALSE(d.IsOpen("T$CHOOSER"));
    EXPECT_TRUE(d.IsOpen(kWindow));
    EXPECT_EQ(songbook::SongBookWindowsOpen(), 1);
    d.CloseWindow(kWindow);
    EXPECT_EQ(frameEvents, (std::vector<int>{ev::EnableAutoUpdate, ev::EnableOpenAndUpdate}));
    EXPECT_EQ(songbook::SongBookWindowsOpen(), 0);
}

TEST_F(BrowseSongBookTest, TwoWindowsOnOneBookCloseInEitherOrder) {
    MakeBook("Party", {{"AV1", "1"}}, {{"Danny Boy", "Trad", "AV1", 1}});
    for (bool firstClosesFirst : {true, false}) {
        SCOPED_TRACE(firstClosesFirst ? "first closes first" : "second closes first");
        fw::testing::Driver d(fw::testing::GTestFailures());
        choices = {Path("Party.2bk")};
        StartBrowse(d);
        StartBrowse(d);
        EXPECT_EQ(chooserCalls, 1) << "the second window shows the open book";
        chooserCalls = 0;
        ASSERT_EQ(songbook::SongBookWindowsOpen(), 2);
        std::vector<fw::Window*> windows;
        for (fw::Window* w : fw::OpenWindows())
            if (w->Label() == kWindow) windows.push_back(w);
        ASSERT_EQ(windows.size(), 2u);
        EXPECT_EQ(d.Caption(kWindow), Path("Party.2bk"));
        fw::Window* first = firstClosesFirst ? windows[0] : windows[1];
        fw::Window* second = firstClosesFirst ? windows[1] : windows[0];

        d.Activate(kWindow);
        first->RequestClose();
        d.Settle();
        EXPECT_EQ(songbook::SongBookWindowsOpen(), 1);
        EXPECT_EQ(shell::SongBookIsOpen, 1);
        EXPECT_EQ(shell::SongBookName.Str(), Path("Party.2bk"));

        second->RequestClose();
        d.Settle();
        EXPECT_FALSE(d.IsOpen(kWindow));
        EXPECT_EQ(shell::SongBookIsOpen, 0);
        EXPECT_TRUE(shell::SongBookName.Blank());
    }
}

TEST_F(BrowseSongBookTest, AFileThatIsNoBookSendsTheUserBackToChoose) {
    struct Case {
        const char* name;
        std::function<void(BrowseSongBookTest&)> make;
        const char* message;
    } cases[] = {
        {"not a book",
         [](BrowseSongBookTest& t) {
             std::ofstream(t.Path("Junk.2bk")) << "these are not the listings you are looking for";
             std::ofstream(t.Path("Junk.2bd")) << "nor the discs";
         },
         "Unable to open"},
        {"discs file missing",
         [](BrowseSongBookTest& t) {
             t.MakeBook("Junk", {{"AV1", "1"}}, {{"Danny Boy", "Trad", "AV1", 1}});
             fs::remove(t.Path("Junk.2bd"));
         },
         "discs file"},
        {"a folder", [](BrowseSongBookTest& t) { fs::create_directory(t.Path("Junk.2bk")); }, "not a file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& e : fs::directory_iterator(Folder())) fs::remove_all(e.path());
        c.make(*this);
        const auto before = FilesIn(Folder());
        chooserCalls = 0;
        fw::testing::Driver d(fw::testing::GTestFailures());
        d.AnswerMessage(c.message, fw::Button::Ok);
        choices = {Path("Junk.2bk")};  // then the user gives up
        StartBrowse(d);
        EXPECT_FALSE(d.Halted());
        EXPECT_EQ(chooserCalls, 2);
        EXPECT_FALSE(d.IsOpen(kWindow));
        EXPECT_EQ(d.UnusedAnswers(), 0u);
        EXPECT_EQ(FilesIn(Folder()), before) << "nothing created";
    }
}

TEST_F(BrowseSongBookTest, ADamagedBookIsNotOpenedNorWrittenToAndPointsToABackup) {
    std::vector<Listing> listings;
    for (std::uint32_t t = 1; t <= 400; ++t) listings.push_back({"Song " + std::to_string(t), "Singer", "AV1", t});
    MakeBook("Party", {{"AV1", "1"}}, listings);
    // One page in the middle of the listings file overwritten.
    std::string bytes;
    {
        std::ifstream in(Path("Party.2bk"), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_GT(bytes.size(), 8u * 4096);
    const std::size_t page = (bytes.size() / 4096 / 2) * 4096;
    bytes.replace(page + 8, 4000, std::string(4000, '\x5A'));
    std::ofstream(Path("Party.2bk"), std::ios::binary | std::ios::trunc) << bytes;
    std::ifstream discsIn(Path("Party.2bd"), std::ios::binary);
    const std::string discs((std::istreambuf_iterator<char>(discsIn)), {});

    fw::testing::Driver d(fw::testing::GTestFailures());
    d.AnswerMessage("Damaged", fw::Button::Ok);
    choices = {Path("Party.2bk")};  // then the user gives up
    StartBrowse(d);
    EXPECT_EQ(chooserCalls, 2);
    EXPECT_FALSE(d.IsOpen(kWindow));
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    bool pointsToBackup = false;
    for (const std::string& m : d.Messages()) pointsToBackup = pointsToBackup || m.find("Backup") != std::string::npos;
    EXPECT_TRUE(pointsToBackup);
    std::ifstream listingsIn(Path("Party.2bk"), std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(listingsIn)), {}), bytes) << "not written to";
    std::ifstream discsAgain(Path("Party.2bd"), std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(discsAgain)), {}), discs);
}

}  // namespace
