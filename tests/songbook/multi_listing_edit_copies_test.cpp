// A title edit while another copy of the program edits the artists of the
// same listings: every listing ends with both changes, or the edit says
// how many it could not change.

#include "songbook/multi_listing_edit.h"
#include "songbook/song_book_commands.h"
#include "songbook/songbook_procedures.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "platform/ui/message.h"
#include "shell/data_dictionary_files.h"
#include "shell/data_dictionary_songbook.h"
#include "shell/program_procedures.h"

#include "song_book_window_fixture.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using song_book_test::Listing;
using Strings = std::vector<std::string>;
constexpr const char* kBook = song_book_test::kSongBookWindow;
constexpr const char* kSetup = "P1$MULTIEDITSETUP";
constexpr const char* kProgress = "P1$PROGRESSWINDOW";
constexpr int kOnTitle = 5;
constexpr std::uint32_t kListings = 200;

// The other copy: a process of its own that gives every even-numbered
// listing the artist "Other Singer", one watched write at a time, taking
// its time between its read and its write. It starts when told.
class OtherCopy {
public:
    explicit OtherCopy(const std::string& book) {
        int go[2];
        if (::pipe(go) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(go[1]);
            ::_exit(Run(book, go[0]) ? 0 : 1);
        }
        ::close(go[0]);
        go_ = go[1];
    }
    ~OtherCopy() { Finished(); }
    void Start() {
        if (::write(go_, "g", 1) != 1) pid_ = -1;
        ::close(go_);
    }
    // True when it changed every listing it set out to.
    bool Finished() {
        if (pid_ <= 0) return false;
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    // While the edit's pass holds the book against other writers, this
    // copy waits and tries again, as its user would.
    static bool Run(const std::string& path, int go) {
        fw::FileDecl decl = shell::FileDeclOf(shell::SongBookFile());
        decl.name = fw::FixedName(path);
        fw::File book(decl);
        for (int tries = 0;; ++tries) {
            fw::OPEN(book, fw::ReadWrite | fw::DenyNone);
            if (fw::ERRORCODE() == 0) break;
            if (fw::ERRORCODE() != fw::IsLockedErr || tries == 60000) {
                std::fprintf(stderr, "the other copy could not open the book: error %d\n", fw::ERRORCODE());
                return false;
            }
            ::usleep(500);
        }
        // The book is open in this copy before the edit starts.
        char c;
        if (::read(go, &c, 1) != 1) return false;
        auto& rec = book.Rec<shell::SongBookRec>();
        bool ok = true;
        for (long id = 2; id <= static_cast<long>(kListings); id += 2) {
            for (int tries = 0;; ++tries) {
                fw::GET(book, id);
                songbook::ListingEdit e = songbook::ListingEdit::Failed;
                if (fw::ERRORCODE() == 0)
                    e = songbook::EditListing(
                        book, [&] { return rec.Artist.Clip() == "Singer"; },
                        [&] {
                            rec.Artist = "Other Singer";
                            ::usleep(300);
                        });
                if (e == songbook::ListingEdit::Written) break;
                if (fw::ERRORCODE() == fw::IsLockedErr && tries < 60000) {
                    ::usleep(500);
                    continue;
                }
                std::fprintf(stderr, "the other copy could not change listing %ld: result %d, error %d\n", id,
                             static_cast<int>(e), fw::ERRORCODE());
                ok = false;
                break;
            }
        }
        fw::CLOSE(book);
        return ok;
    }
    pid_t pid_ = -1;
    int go_ = -1;
};

class MultiListingEditCopiesTest : public song_book_test::SongBookWindowTest {
protected:
    void SetUp() override {
        SongBookWindowTest::SetUp();
        songbook::RegisterSongBookProcedures();
    }
    void TearDown() override {
        shell::SetProgramProcedure("RenumberDiscs", nullptr);
        shell::SetProgramProcedure(songbook::kDiscTracksProcedure, nullptr);
        shell::SetProgramProcedure(songbook::kMultiEditSetupProcedure, nullptr);
        for (std::string_view b : songbook::kBatchEditProcedures) shell::SetProgramProcedure(b, nullptr);
        SongBookWindowTest::TearDown();
    }
};

TEST_F(MultiListingEditCopiesTest, ATitleEditBesideAnotherCopyEditingArtistsLosesNeither) {
    for (int run = 1; run <= 5; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        std::vector<Listing> listings;
        for (std::uint32_t t = 1; t <= kListings; ++t) listings.push_back({"Same Song", "Singer", "U1", t});
        MakeBook("Party", {{"U1", "D1"}}, listings);
        Open();
        const std::size_t said = d.Messages().size();
        OtherCopy other(Path("Party.2bk"));
        ::usleep(200000);  // its book open
        d.AnswerPopup(kOnTitle);
        d.RightClick("?LISTTITLE", 1, kBook);
        ASSERT_TRUE(d.IsOpen(kSetup));
        d.Check("?GLO:BATCHCHANGETITLE", true, kSetup);
        d.Type("?GLO:SBK:TITLE", "Other Song", kSetup);
        d.AnswerMessage(songbook::kMultiEditQuestion, fw::Button::Yes);
        d.Press("?OKBUTTON", kSetup);
        other.Start();
        ASSERT_TRUE(d.TickUntil([&] { return !d.IsOpen(kProgress); }));
        EXPECT_TRUE(other.Finished());
        // Nothing said: so the edit was whole.
        EXPECT_EQ(d.Messages().size(), said + 1) << d.Messages().back();
        EXPECT_EQ(Query("Party.2bk", "SELECT COUNT(*) FROM records WHERE TITLE COLLATE BINARY <> 'Other Song'"),
                  Strings{"0"});
        EXPECT_EQ(Query("Party.2bk", "SELECT COUNT(*) FROM records WHERE ARTIST COLLATE BINARY = 'Other Singer'"),
                  Strings{std::to_string(kListings / 2)});
        d.Press("?CLOSE", kBook);
        if (HasFailure()) return;
    }
}

// Another copy's write of one listing, done by a process of its own.
void WriteElsewhere(const std::string& path, long id, const std::function<void(shell::SongBookRec&)>& change) {
    const pid_t child = ::fork();
    if (child == 0) {
        fw::FileDecl decl = shell::FileDeclOf(shell::SongBookFile());
        decl.name = fw::FixedName(path);
        fw::File book(decl);
        fw::OPEN(book, fw::ReadWrite | fw::DenyNone);
        fw::GET(book, id);
        change(book.Rec<shell::SongBookRec>());
        fw::PUT(book);
        ::_exit(fw::ERRORCODE() == 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(MultiListingEditCopiesTest, AListingAnotherCopyChangedSinceItWasReadIsReadAgainAndEdited) {
    MakeBook("Party", {{"U1", "D1"}}, {{"Same Song", "Singer", "U1", 1}, {"Same Song", "Singer", "U1", 2}});
    fw::FileDecl decl = shell::FileDeclOf(shell::SongBookFile());
    decl.name = fw::FixedName(Path("Party.2bk"));
    fw::File book(decl);
    fw::OPEN(book, fw::ReadWrite | fw::DenyNone);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    auto& rec = book.Rec<shell::SongBookRec>();
    struct Case {
        const char* name;
        std::function<void(shell::SongBookRec&)> otherWrites;  // between this edit's read and its write
        songbook::ListingEdit result;
        Strings after;
    } cases[] = {
        {"changed elsewhere: both changes stay", [](shell::SongBookRec& r) { r.Artist = "Other Singer"; },
         songbook::ListingEdit::Written, Strings{"New Song/Other Singer"}},
        {"no match any more: left alone", [](shell::SongBookRec& r) { r.Title = "Else"; },
         songbook::ListingEdit::NoLongerMatches, Strings{"Else/Singer"}},
    };
    long id = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fw::GET(book, ++id);
        ASSERT_EQ(fw::ERRORCODE(), 0);
        bool once = false;
        const songbook::ListingEdit e = songbook::EditListing(
            book, [&] { return rec.Title.Clip() == "Same Song"; },
            [&] {
                rec.Title = "New Song";
                if (!once) WriteElsewhere(Path("Party.2bk"), id, c.otherWrites);
                once = true;
            });
        EXPECT_EQ(e, c.result);
        EXPECT_EQ(Query("Party.2bk", "SELECT TITLE, ARTIST FROM records WHERE _id = " + std::to_string(id)), c.after);
    }
    fw::CLOSE(book);
}

}  // namespace
