// The song-book listing form driven as a user would, called as the
// song-book window calls it: the highlighted listing in SBK, its disc in
// SBD, both files open. Inserts (the disc-ID checks, the new disc with the
// listing in one transaction), changes, deletes, the close question and
// the ditto key.
#include "songbook/update_song_book_listing.h"

#include "platform/data/file_ops.h"
#include "platform/data/record.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/events.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"
#include "platform/ui/window.h"
#include "shell/checked_open.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"
#include "shell/record_form.h"
#include "shell/window_runtime.h"

#include "song_book_fixture.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "shell/data_dictionary_prefixes.h"

namespace {

using song_book_test::Disc;
using song_book_test::Listing;
using Discs = std::vector<Disc>;
using Listings = std::vector<Listing>;

constexpr const char* kForm = "P1$LISTINGFORM";
constexpr int kDittoKey = 0x2DE;  // Ctrl+'
constexpr const char* kCloseQuestion = "Do you want to save the changes to this record?";
constexpr const char* kDuplicateWarning = "Adding this record creates a duplicate entry for the key:SBK:KUnqDiskID";
constexpr const char* kInsertErrorWarning = "An error was experienced during the update of record.";
constexpr std::int32_t kToday = 80000;

// A message's first line, enough to tell the form's messages apart.
std::string FirstLine(std::string_view text) { return std::string(text.substr(0, text.find('|'))); }

// The book every case starts from: disc U1 (custom ID C1, brand AB 3) with
// two listings, and disc U2 (custom ID C2) with one.
const Discs kDiscs = {{"U1", "C1", 3, "AB"}, {"U2", "C2", 5, "XY"}};
const Listings kListings = {{"Danny Boy", "Trad.", "U1", 1, "", "AB", 70000},
                            {"Rose", "Ann", "U1", 2, "X", "AB", 70001},
                            {"Moon", "Bob", "U2", 1, "", "XY", 70002}};

class ListingForm : public song_book_test::SongBookFolder {
public:
    void SetUp() override {
        SongBookFolder::SetUp();
        shell::ConnectWindowRuntime();  // warnings become the driver's message boxes
        songbook::ListingFormMemory() = {};
        Remake(kDiscs, kListings);
        d.FixClock(kToday, 0);
    }
    void TearDown() override {
        if (d.IsOpen(kForm)) {
            d.AnswerMessage(kCloseQuestion, fw::Button::No);
            d.Press("?CANCEL", kForm);
        }
        shell::DisconnectWindowRuntime();
        SongBookFolder::TearDown();
    }

    // The book Party, named as the open book.
    void Remake(const Discs& discs, const Listings& listings) {
        MakeBook("Party", discs, listings);
        shell::SongBookName = Path("Party.2bk");
        shell::SBDiscsName = Path("Party.2bd");
    }

    // Calls the form on a program thread as the song-book window does: both
    // files held open, the listing (read with WATCH) and its disc in the
    // buffers, or blank buffers for an empty book.
    // `bufferDisc` names another disc to leave in SBD instead.
    void Call(std::int32_t request, const std::string& disc = "", std::uint32_t track = 0,
              const std::string& bufferDisc = "") {
        returned = false;
        outcome = -1;
        d.Start([this, request, disc, track, bufferDisc] {
            shell::FileUse discs(shell::SBDiscsFile());
            shell::FileUse book(shell::SongBookFile());
            fw::ClearRecord(&SBK, *shell::SongBookFile().record);
            fw::ClearRecord(&SBD, *shell::SBDiscsFile().record);
            if (!disc.empty()) {
                SBK.UnqDiskID = disc;
                SBK.DISKTRACKNO = track;
                fw::WATCH(shell::SongBook());
                fw::GET(shell::SongBook(), shell::SongBook().FindKey("SBK:KUnqDiskID"));
                EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
                SBD.UNQDISKID = bufferDisc.empty() ? disc : bufferDisc;
                fw::GET(shell::SBDiscs(), shell::SBDiscs().FindKey("SBD:KUNQDISKID"));
            }
            shell::RequestedAction() = request;
            shell::FormNavigationRequest() = 0;
            songbook::UpdateSongBookListing();
            outcome = shell::ActionOutcome();
            leftTitle = SBK.Title.Str();
            leftDisc = SBK.UnqDiskID.Str();
            returned = true;
        });
    }

    // Runs SQL on the book's listings file through a connection of its own.
    void BookSql(const std::string& sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(Path("Party.2bk").c_str(), &db), SQLITE_OK);
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
    }

    // Another station changes a listing's title.
    void RetitleElsewhere(const std::string& disc, std::uint32_t track, const std::string& title) {
        fw::File& book = shell::SongBook();
        fw::OPEN(book, fw::ReadWrite | fw::DenyNone);
        SBK.UnqDiskID = disc;
        SBK.DISKTRACKNO = track;
        fw::GET(book, book.FindKey("SBK:KUnqDiskID"));
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        SBK.Title = title;
        fw::PUT(book);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        fw::CLOSE(book);
    }

    void TypeDiscIds(const std::string& mfg, const std::string& alt) {
        d.Type("?SBK:UNQDISKID", mfg, kForm);
        d.Type("?SBD:ALTDISKID", alt, kForm);
    }

    fw::testing::Driver d{fw::testing::GTestFailures()};
    std::int32_t outcome = -1;
    std::string leftTitle;
    std::string leftDisc;
    bool returned = false;
};

TEST_F(ListingForm, AnInsertStartsFromTheHighlightedListingWithItsDiscShown) {
    Call(shell::action::Insert, "U1", 2);
    ASSERT_TRUE(d.IsOpen(kForm));
    EXPECT_EQ(d.Caption(kForm), "Update SongBook Listing....");
    EXPECT_EQ(d.Text("?ACTIONMESSAGE"), "SongBook Listing will be Added");
    EXPECT_EQ(d.Text("?SBK:TITLE"), "Rose");
    EXPECT_EQ(d.Text("?SBK:UNQDISKID"), "U1");
    EXPECT_EQ(d.Text("?SBD:ALTDISKID"), "C1");  // the redraw's look-up of the listing's disc
    EXPECT_TRUE(d.Enabled("?SBK:UNQDISKID"));
    EXPECT_TRUE(d.Enabled("?SBD:ALTDISKID"));
    d.CloseWindow(kForm);  // only the date was primed: no question
    EXPECT_TRUE(returned);
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
    EXPECT_TRUE(d.Messages().empty());
}

TEST_F(ListingForm, TheFormShowsTheCustomIdOfTheListingsOwnDisc) {
    Listings withStray = kListings;
    withStray.push_back({"Stray", "", "N7", 1});  // its disc is not in the book
    Remake(kDiscs, withStray);
    const struct {
        const char* disc;
        const char* bufferDisc;  // what the caller left in SBD
        const char* shown;
    } cases[] = {{"U1", "U1", "C1"}, {"U1", "U2", "C1"}, {"N7", "U2", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.disc) + " with " + c.bufferDisc);
        Call(shell::action::Change, c.disc, 1, c.bufferDisc);
        EXPECT_EQ(d.Text("?SBD:ALTDISKID"), c.shown);
        d.Press("?CANCEL", kForm);
        EXPECT_EQ(outcome, shell::outcome::Cancelled);
    }
}

TEST_F(ListingForm, AnInsertRefusesDiscIdsItCannotUseAndWritesNothing) {
    const struct {
        const char* mfg;
        const char* alt;
        std::string_view message;
        const char* focus;  // the entry to correct
    } cases[] = {
        {"", "", songbook::kBlankMfgDiscIdText, "?SBK:UNQDISKID"},
        {"U1", "N9", songbook::kMfgDiscIdExistsText, "?SBK:UNQDISKID"},  // the highlighted listing's disc
        {"u2", "N9", songbook::kMfgDiscIdExistsText, "?SBK:UNQDISKID"},  // letter case ignored
        {"N1", "C1", songbook::kAltDiscIdExistsText, "?SBD:ALTDISKID"},  // the custom ID shown, kept
        {"N1", "c2", songbook::kAltDiscIdExistsText, "?SBD:ALTDISKID"},
        {"C2", "", songbook::kAltDiscIdExistsText, "?SBD:ALTDISKID"},    // the Mfg. ID becomes the custom ID
        {"N1", "*", songbook::kDisclessAltDiscIdText, "?SBD:ALTDISKID"},
        {"*", "", songbook::kDisclessAltDiscIdText, "?SBD:ALTDISKID"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mfg) + " / " + c.alt);
        Call(shell::action::Insert, "U1", 1);
        TypeDiscIds(c.mfg, c.alt);
        d.AnswerMessage(FirstLine(c.message), fw::Button::Ok);
        d.Press("?OK", kForm);
        EXPECT_TRUE(d.IsOpen(kForm));
        EXPECT_FALSE(returned);
        fw::Window& form = *d.FindWindow(kForm);
        EXPECT_EQ(form.Focus(), form.Feq(c.focus));
        EXPECT_EQ(d.UnusedAnswers(), 0u);
        // Cancel asks only when the listing itself changed; the custom ID is the disc's.
        if (std::string(c.mfg) != "U1") d.AnswerMessage(kCloseQuestion, fw::Button::No);
        d.Press("?CANCEL", kForm);
        EXPECT_EQ(d.UnusedAnswers(), 0u);
        EXPECT_EQ(outcome, shell::outcome::Cancelled);
        EXPECT_EQ(BookDiscs("Party"), kDiscs);
        EXPECT_EQ(BookListings("Party"), kListings);
    }
}

TEST_F(ListingForm, AnInsertAddsTheNewDiscWithTheTemplatesBrandAndTheListing) {
    const struct {
        const char* alt;
        const char* storedAlt;
    } cases[] = {{"", "N1"}, {"Mine 7", "Mine 7"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.alt);
        Remake(kDiscs, kListings);
        Call(shell::action::Insert, "U1", 2);
        d.Type("?SBK:TITLE", "New Song");
        TypeDiscIds("N1", c.alt);
        d.Type("?SBK:DISKTRACKNO", "4");
        d.Press("?OK", kForm);
        EXPECT_FALSE(d.IsOpen(kForm));
        EXPECT_EQ(outcome, shell::outcome::Completed);
        EXPECT_EQ(leftTitle, "New Song");  // the written listing stays for the list
        EXPECT_EQ(leftDisc, "N1");
        Discs discs = kDiscs;
        discs.insert(discs.begin(), {"N1", c.storedAlt, 3, "AB"});
        EXPECT_EQ(BookDiscs("Party"), discs);
        Listings listings = kListings;
        listings.insert(listings.begin(), {"New Song", "Ann", "N1", 4, "X", "AB", kToday});
        EXPECT_EQ(BookListings("Party"), listings);
    }
}

TEST_F(ListingForm, AnInsertOnAnEmptyBookStartsBlank) {
    Remake({}, {});
    Call(shell::action::Insert);
    EXPECT_EQ(d.Text("?SBK:TITLE"), "");
    EXPECT_EQ(d.Text("?SBD:ALTDISKID"), "");
    d.Type("?SBK:TITLE", "First");
    TypeDiscIds("N1", "");
    d.Type("?SBK:DISKTRACKNO", "1");
    d.Press("?OK", kForm);
    EXPECT_EQ(outcome, shell::outcome::Completed);
    EXPECT_EQ(BookDiscs("Party"), (Discs{{"N1", "N1", 0, ""}}));
    EXPECT_EQ(BookListings("Party"), (Listings{{"First", "", "N1", 1, "", "", kToday}}));
}

// A failed listing ADD rolls the new disc back with it, so the same input,
// corrected, goes through on the next OK.
TEST_F(ListingForm, AFailedInsertLeavesNoDiscBehindAndCanBeCorrected) {
    const struct {
        const char* name;
        const char* warning;
        std::function<void(ListingForm&)> breakIt;
        std::function<void(ListingForm&)> fixIt;
        bool breakOpenBook = false;  // a trigger goes in once the book is open: OPEN refuses a file with one
    } cases[] = {
        {"a listing of the new disc and track exists", kDuplicateWarning,
         [](ListingForm& t) {
             Listings withStray = kListings;
             withStray.push_back({"Stray", "", "n1", 4});  // a listing whose disc is not in the book
             t.Remake(kDiscs, withStray);
         },
         [](ListingForm& t) { t.d.Type("?SBK:DISKTRACKNO", "5", kForm); }},
        {"the listings file refuses the write", kInsertErrorWarning,
         [](ListingForm& t) {
             t.BookSql("CREATE TRIGGER refuse BEFORE INSERT ON records BEGIN SELECT RAISE(ABORT, 'refused'); END");
         },
         [](ListingForm& t) { t.BookSql("DROP TRIGGER refuse"); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Remake(kDiscs, kListings);
        if (!c.breakOpenBook) c.breakIt(*this);
        const Listings before = BookListings("Party");
        Call(shell::action::Insert, "U1", 1);
        if (c.breakOpenBook) c.breakIt(*this);
        d.Type("?SBK:TITLE", "New Song");
        TypeDiscIds("N1", "Mine");
        d.Type("?SBK:DISKTRACKNO", "4");
        d.AnswerMessage(c.warning, fw::Button::Ok);
        d.Press("?OK", kForm);
        EXPECT_TRUE(d.IsOpen(kForm));
        if (c.breakOpenBook) c.fixIt(*this);  // the book opens again to be read
        EXPECT_EQ(BookDiscs("Party"), kDiscs);
        EXPECT_EQ(BookListings("Party"), before);

        if (!c.breakOpenBook) c.fixIt(*this);
        d.Press("?OK", kForm);
        EXPECT_FALSE(d.IsOpen(kForm));
        EXPECT_EQ(outcome, shell::outcome::Completed);
        Discs discs = kDiscs;
        discs.insert(discs.begin(), {"N1", "Mine", 3, "AB"});
        EXPECT_EQ(BookDiscs("Party"), discs);
        EXPECT_EQ(d.UnusedAnswers(), 0u);
    }
}

TEST_F(ListingForm, AChangeWritesTheEditableFieldsOnly) {
    Call(shell::action::Change, "U1", 2);
    ASSERT_TRUE(d.IsOpen(kForm));
    EXPECT_EQ(d.Text("?ACTIONMESSAGE"), "SongBook Listing will be Changed");
    EXPECT_EQ(d.Text("?SBD:ALTDISKID"), "C1");
    EXPECT_FALSE(d.Enabled("?SBK:UNQDISKID"));
    EXPECT_FALSE(d.Enabled("?SBD:ALTDISKID"));
    d.Check("?SBK:PRINT", false);
    d.Press("?OK", kForm);
    EXPECT_EQ(outcome, shell::outcome::Completed);
    Listings expected = kListings;
    expected[1].print = "";
    EXPECT_EQ(BookListings("Party"), expected);

    Call(shell::action::Change, "U1", 1);
    d.Check("?SBK:PRINT", true);
    d.Type("?SBK:TITLE", "Danny Girl");
    d.Type("?SBK:ARTIST", "Anon.");
    d.Type("?SBK:DISKTRACKNO", "7");
    d.Type("?SBK:MAKEID", "ZZ");
    d.Press("?OK", kForm);
    EXPECT_EQ(outcome, shell::outcome::Completed);
    expected[0] = {"Danny Girl", "Anon.", "U1", 7, "X", "ZZ", 70000};
    EXPECT_EQ(BookListings("Party"), (Listings{expected[1], expected[0], expected[2]}));
    EXPECT_EQ(BookDiscs("Party"), kDiscs);
    EXPECT_TRUE(d.Messages().empty());
}

TEST_F(ListingForm, AnUnalteredChangeCompletesWithoutWriting) {
    Call(shell::action::Change, "U2", 1);
    RetitleElsewhere("U2", 1, "Theirs");  // a write would meet this change and say so
    d.Press("?OK", kForm);
    EXPECT_FALSE(d.IsOpen(kForm));
    EXPECT_EQ(outcome, shell::outcome::Completed);
    EXPECT_TRUE(d.Messages().empty());
    EXPECT_EQ(BookListings("Party").back().title, "Theirs");
}

TEST_F(ListingForm, TheCloseBoxOnAChangedListingAsks) {
    Call(shell::action::Change, "U2", 1);
    d.Type("?SBK:TITLE", "Sun");
    d.AnswerMessage(kCloseQuestion, fw::Button::Cancel);
    d.CloseWindow(kForm);
    EXPECT_TRUE(d.IsOpen(kForm));
    d.AnswerMessage(kCloseQuestion, fw::Button::No);
    d.CloseWindow(kForm);
    EXPECT_FALSE(d.IsOpen(kForm));
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
    EXPECT_EQ(BookListings("Party"), kListings);

    Call(shell::action::Change, "U2", 1);
    d.Type("?SBK:TITLE", "Sun");
    d.AnswerMessage(kCloseQuestion, fw::Button::Yes);
    d.CloseWindow(kForm);
    EXPECT_EQ(outcome, shell::outcome::Completed);
    EXPECT_EQ(BookListings("Party").back().title, "Sun");
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

// Typed with key events: the text is still in the focused entry, not yet
// taken into the record, when the form is closed.
TEST_F(ListingForm, ClosingAsksAboutTextStillInTheFocusedEntry) {
    Call(shell::action::Change, "U2", 1);
    d.TypeKeys("?SBK:TITLE", "Sun");
    d.AnswerMessage(kCloseQuestion, fw::Button::Yes);
    d.CloseWindow(kForm);
    EXPECT_EQ(outcome, shell::outcome::Completed);
    const Listings saved = BookListings("Party");
    EXPECT_TRUE(std::any_of(saved.begin(), saved.end(),
                            [](const Listing& l) { return l.unq == "U2" && l.title.find("Sun") != std::string::npos; }));

    // Escape is the Cancel button, and asks the same.
    Call(shell::action::Change, "U1", 1);
    d.TypeKeys("?SBK:ARTIST", "Zed");
    d.AnswerMessage(kCloseQuestion, fw::Button::Cancel);
    d.Key("?SBK:ARTIST", fw::KeyCode::Esc, kForm);
    EXPECT_TRUE(d.IsOpen(kForm));
    d.AnswerMessage(kCloseQuestion, fw::Button::No);
    d.Key("?SBK:ARTIST", fw::KeyCode::Esc, kForm);
    EXPECT_FALSE(d.IsOpen(kForm));
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
    EXPECT_EQ(BookListings("Party").front().artist, "Trad.");

    // Enter is the default button, OK.
    Call(shell::action::Change, "U1", 1);
    d.TypeKeys("?SBK:ARTIST", "Zed");
    d.Key("?SBK:ARTIST", fw::KeyCode::Enter, kForm);
    EXPECT_FALSE(d.IsOpen(kForm));
    EXPECT_EQ(outcome, shell::outcome::Completed);
    EXPECT_NE(BookListings("Party").front().artist.find("Zed"), std::string::npos);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
}

// A refused entry says why in a box, keeps what was typed, selected, with
// the focus, and the form's message line names it; OK is refused the same way.
TEST_F(ListingForm, ARefusedEntrySaysWhyKeepsTheFocusAndStoresNothing) {
    constexpr const char* kTrackRefused = "Track#: Please enter a number from 0 to 4294967295.";
    Call(shell::action::Change, "U2", 1);
    fw::Window* form = d.FindWindow(kForm);
    d.AnswerMessage(kTrackRefused, fw::Button::Ok);
    d.Type("?SBK:DISKTRACKNO", "abc12x");
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_EQ(d.Text("?ACTIONMESSAGE"), "Please enter a number from 0 to 4294967295.");
    EXPECT_EQ(d.Text("?SBK:DISKTRACKNO"), "abc12x");
    EXPECT_EQ(form->Focus(), form->Feq("?SBK:DISKTRACKNO"));
    if (const char* dir = std::getenv("CV_SCREENSHOT_DIR"); dir && *dir) {
        EXPECT_TRUE(d.Screenshot(kForm, std::string(dir) + "/" + kForm + "-refused.png"));
    }
    d.AnswerMessage(kTrackRefused, fw::Button::Ok);
    d.Type("?SBK:DISKTRACKNO", "4294967296");
    d.Type("?SBK:ARTIST", "Zed");
    EXPECT_EQ(d.Text("?SBK:ARTIST"), "Zed");
    d.AnswerMessage("Date Added: Please enter a date", fw::Button::Ok);
    d.Type("?SBK:DATEADDED", "31 Feb 2026");
    EXPECT_EQ(d.UnusedAnswers(), 0u);

    d.AnswerMessage(kTrackRefused, fw::Button::Ok);
    d.Press("?OK", kForm);
    EXPECT_EQ(d.UnusedAnswers(), 0u);
    EXPECT_TRUE(d.IsOpen(kForm));
    EXPECT_EQ(form->Focus(), form->Feq("?SBK:DISKTRACKNO"));
    d.Type("?SBK:DISKTRACKNO", "4294967295");
    d.Type("?SBK:DATEADDED", "");
    EXPECT_EQ(d.Text("?ACTIONMESSAGE"), "SongBook Listing will be Changed");
    d.Press("?OK", kForm);
    EXPECT_EQ(outcome, shell::outcome::Completed);
    const Listings saved = BookListings("Party");
    const auto moon = std::find_if(saved.begin(), saved.end(), [](const Listing& l) { return l.unq == "U2"; });
    ASSERT_NE(moon, saved.end());
    EXPECT_EQ(moon->track, 4294967295u);
    EXPECT_EQ(moon->artist, "Zed");
}

TEST_F(ListingForm, ADeleteAsksAndOpensNoWindow) {
    d.AnswerMessage("Press OK to confirm deletion", fw::Button::Cancel);
    Call(shell::action::Delete, "U1", 2);
    EXPECT_TRUE(returned);
    EXPECT_EQ(outcome, shell::outcome::Cancelled);
    EXPECT_EQ(BookListings("Party"), kListings);

    d.AnswerMessage("Press OK to confirm deletion", fw::Button::Ok);
    Call(shell::action::Delete, "U1", 2);
    EXPECT_FALSE(d.IsOpen(kForm));
    EXPECT_EQ(outcome, shell::outcome::Completed);
    EXPECT_EQ(BookListings("Party"), (Listings{kListings[0], kListings[2]}));
    EXPECT_EQ(BookDiscs("Party"), kDiscs);
}

TEST_F(ListingForm, TheDittoKeyCopiesTheListingSavedLast) {
    // Before any save this run every ditto entry gives blank.
    Call(shell::action::Insert, "U1", 2);
    d.Key("?SBK:UNQDISKID", kDittoKey, kForm);
    EXPECT_EQ(d.Text("?SBK:UNQDISKID"), "");
    d.Key("?SBK:TITLE", kDittoKey, kForm);
    EXPECT_EQ(d.Text("?SBK:TITLE"), "");
    d.Type("?SBK:TITLE", "Saved Song");
    TypeDiscIds("N1", "");
    d.Press("?OK", kForm);
    ASSERT_EQ(outcome, shell::outcome::Completed);

    // From a listing that is printed: title, omit mark and Mfg. ID come back.
    Call(shell::action::Insert, "U2", 1);
    d.Key("?SBK:UNQDISKID", kDittoKey, kForm);
    EXPECT_EQ(d.Text("?SBK:UNQDISKID"), "N1");
    EXPECT_EQ(d.Text("?SBK:TITLE"), "Moon");  // only the entry the key is pressed in
    d.Key("?SBK:TITLE", kDittoKey, kForm);
    EXPECT_EQ(d.Text("?SBK:TITLE"), "Saved Song");
    d.Key("?SBK:PRINT", kDittoKey, kForm);
    TypeDiscIds("N2", "");
    d.Press("?OK", kForm);
    ASSERT_EQ(outcome, shell::outcome::Completed);
    const Listings stored = BookListings("Party");
    EXPECT_EQ(stored.at(0), (Listing{"Saved Song", "Ann", "N1", 2, "X", "AB", kToday}));
    EXPECT_EQ(stored.at(1), (Listing{"Saved Song", "Bob", "N2", 1, "X", "XY", kToday}));
}

// On a change the disc IDs are not the user's to edit, and the ditto key
// does not edit them either.
TEST_F(ListingForm, TheDittoKeyLeavesTheDiscIdsOfAChangeAlone) {
    Call(shell::action::Insert, "U1", 2);
    d.Type("?SBK:TITLE", "Saved Song");
    TypeDiscIds("N1", "");
    d.Press("?OK", kForm);
    ASSERT_EQ(outcome, shell::outcome::Completed);

    Call(shell::action::Change, "U2", 1);
    ASSERT_FALSE(d.Enabled("?SBK:UNQDISKID"));
    // The key as it reaches the form for each of them (the user cannot
    // type there, but the key is alerted on them all the same).
    fw::Window* form = d.FindWindow(kForm);
    for (const char* entry : {"?SBK:UNQDISKID", "?SBD:ALTDISKID"}) {
        form->SetKeyCode(kDittoKey);
        form->Queue(fw::Event::AlertKey, form->Feq(entry));
        d.Settle();
    }
    EXPECT_EQ(d.Text("?SBK:UNQDISKID"), "U2");
    d.Press("?OK", kForm);
    EXPECT_EQ(outcome, shell::outcome::Completed);
    const Listings stored = BookListings("Party");
    EXPECT_EQ(std::count_if(stored.begin(), stored.end(), [](const Listing& l) { return l.unq == "U2"; }), 1);
    EXPECT_EQ(BookDiscs("Party").size(), kDiscs.size() + 1);
}

TEST_F(ListingForm, ScreenshotWhenAsked) {
    const char* dir = std::getenv("CV_SCREENSHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "CV_SCREENSHOT_DIR not set";
    Call(shell::action::Insert, "U1", 2);
    EXPECT_TRUE(d.Screenshot(kForm, std::string(dir) + "/" + kForm + ".png"));
}

}  // namespace
