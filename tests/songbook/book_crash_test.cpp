// A book operation stopped at any moment: a child process runs it and is
// killed at every step in turn (before and after each file operation, and
// during a restore's extraction); after the next start there is exactly one
// whole book under each name, with every listing it had.
#include "songbook/book_backup.h"
#include "songbook/book_files.h"
#include "songbook/book_journal.h"

#include "tests/platform/os/archive/archive_fixture.h"
#include "tests/songbook/book_fixture.h"

#include <csignal>
#include <memory>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace book_test;

std::string P(const fs::path& path) { return path.string(); }

// The file operations, killing the process at the `at`-th point: odd points
// are just before an operation, even ones just after it.
songbook::BookFileOps KillingOps(int at) {
    const songbook::BookFileOps real = songbook::RealBookFileOps();
    auto count = std::make_shared<int>(0);
    auto point = [count, at] {
        if (++*count == at) ::kill(::getpid(), SIGKILL);
    };
    return {
        [=](const std::string& f, const std::string& t) { point(); const int r = real.rename(f, t); point(); return r; },
        [=](const std::string& f, const std::string& t) { point(); const int r = real.copy(f, t); point(); return r; },
        [=](const std::string& p) { point(); const int r = real.remove(p); point(); return r; },
    };
}

// Runs `operation` in a child killed at point `at`; true when the child was
// killed, false when it finished first.
bool KilledAt(int at, const std::function<void()>& operation) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        songbook::SetBookFileOps(KillingOps(at));
        operation();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status);
}

// The book `name` in `folder`: "" when neither file is there, otherwise the
// rows of both files; a half book fails the test.
std::string Book(const fs::path& folder, const std::string& name) {
    const bool listings = fs::exists(folder / (name + ".2bk")), discs = fs::exists(folder / (name + ".2bd"));
    EXPECT_EQ(listings, discs) << "half a book " << name << " in " << folder;
    if (!listings || !discs) return "";
    return Rows(folder / (name + ".2bk")) + "|" + Rows(folder / (name + ".2bd"));
}

std::set<std::string> FileNames(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

class BookCrashTest : public BookFolderTest {
protected:
    void Fresh() {
        fs::remove_all(books());
        fs::remove_all(other());
        fs::remove_all(root() / "config");
        fs::create_directory(books());
        fs::create_directory(other());
        MakeBook(books(), "Party.2bk", "Party.2bd");
        MakeBook(books(), "Keep.2bk", "Keep.2bd");
    }
    // The next start: the journals are settled and each folder listed.
    void NextStart() {
        songbook::SettleBookJournals();
        songbook::ListBooks(P(books()));
        songbook::ListBooks(P(other()));
        EXPECT_TRUE(!fs::exists(songbook::BookJournalFolder()) || fs::is_empty(songbook::BookJournalFolder()));
    }
    // Kills `operation` at every point in turn, checking the folders after each.
    void EveryPoint(const std::function<void()>& prepare, const std::function<void()>& operation,
                    const std::function<void(bool finished)>& check) {
        int at = 1;
        for (bool killed = true; killed && at < 200; ++at) {
            SCOPED_TRACE("killed at point " + std::to_string(at));
            Fresh();
            prepare();
            killed = KilledAt(at, operation);
            NextStart();
            check(!killed);
        }
        EXPECT_GT(at, 4) << "the operation was never stopped";
        EXPECT_LT(at, 200) << "the operation never finished";
    }
    std::string party_, keep_;
    void SetUp() override {
        BookFolderTest::SetUp();
        Fresh();
        party_ = Book(books(), "Party");
        keep_ = Book(books(), "Keep");
    }
};

TEST_F(BookCrashTest, Rename) {
    EveryPoint([] {}, [this] { songbook::RenameBook(P(books() / "Party.2bk"), "Fun"); },
               [this](bool finished) {
                   const std::string party = Book(books(), "Party"), fun = Book(books(), "Fun");
                   EXPECT_TRUE((party == party_ && fun.empty()) || (fun == party_ && party.empty()));
                   if (finished) { EXPECT_EQ(fun, party_); }
                   EXPECT_EQ(Book(books(), "Keep"), keep_);
                   EXPECT_EQ(FileNames(books()).size(), 4u);
               });
}

TEST_F(BookCrashTest, Delete) {
    EveryPoint([] {}, [this] { songbook::DeleteBook(P(books() / "Party.2bk")); },
               [this](bool finished) {
                   const std::string party = Book(books(), "Party");
                   EXPECT_TRUE(party == party_ || party.empty());
                   if (finished) { EXPECT_EQ(party, ""); }
                   EXPECT_EQ(FileNames(books()).size(), party.empty() ? 2u : 4u);
               });
}

TEST_F(BookCrashTest, Move) {
    EveryPoint([] {}, [this] { songbook::MoveBook(P(books() / "Party.2bk"), P(other()), {}); },
               [this](bool finished) {
                   const std::string here = Book(books(), "Party"), there = Book(other(), "Party");
                   EXPECT_TRUE((here == party_ && there.empty()) || (there == party_ && here.empty()));
                   if (finished) { EXPECT_EQ(there, party_); }
                   EXPECT_EQ(FileNames(books()).size(), here.empty() ? 2u : 4u);
                   EXPECT_EQ(FileNames(other()).size(), there.empty() ? 0u : 2u);
               });
}

TEST_F(BookCrashTest, MoveOverAnExistingBook) {
    std::string old;
    EveryPoint(
        [&] {
            MakeDatabase(other() / "Party.2bk", "old listing", 2);
            MakeDatabase(other() / "Party.2bd", "old disc", 2);
            old = Book(other(), "Party");
        },
        [this] { songbook::MoveBook(P(books() / "Party.2bk"), P(other()), [](std::string_view) { return true; }); },
        [&](bool finished) {
            const std::string here = Book(books(), "Party"), there = Book(other(), "Party");
            EXPECT_TRUE((here == party_ && there == old) || (here.empty() && there == party_));
            if (finished) { EXPECT_EQ(there, party_); }
            EXPECT_EQ(FileNames(other()).size(), 2u);
        });
}

TEST_F(BookCrashTest, Restore) {
    const fs::path archive = root() / "Party.bkp";
    MakeDatabase(root() / "new.2bk", "new listing", 4);
    MakeDatabase(root() / "new.2bd", "new disc", 4);
    archive_test::MakeZip(archive, {{"Party.2bk", ReadFile(root() / "new.2bk")}, {"Party.2bd", ReadFile(root() / "new.2bd")}});
    const std::string restored = Rows(root() / "new.2bk") + "|" + Rows(root() / "new.2bd");
    const auto restore = [&](const fw::ExtractProgress& progress) {
        fw::zCloseZipFile();
        songbook::RestoreBooks(P(archive), P(books()), [](std::string_view) { return true; }, progress);
    };
    const auto check = [&](bool finished) {
        const std::string party = Book(books(), "Party");
        EXPECT_TRUE(party == party_ || party == restored);
        if (finished) { EXPECT_EQ(party, restored); }
        EXPECT_EQ(FileNames(books()).size(), 4u);
    };
    EveryPoint([] {}, [&] { restore({}); }, check);

    // Killed while the archive is read: only temporary files were written.
    Fresh();
    const pid_t pid = ::fork();
    if (pid == 0) {
        restore([](std::uint64_t, std::uint64_t) { ::kill(::getpid(), SIGKILL); });
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    NextStart();
    EXPECT_EQ(Book(books(), "Party"), party_);
    EXPECT_EQ(FileNames(books()).size(), 4u);
}

// Every file operation of each book operation failing in turn: the
// operation reports the failure with the books as they were, or (when only
// a removal at the end failed) is done, and the next listing tidies up.
TEST_F(BookCrashTest, EveryStepFailingInTurnUndoesTheOperationOrCompletesIt) {
    struct Case {
        const char* what;
        std::function<songbook::BookResult(BookCrashTest&)> run;
        std::function<std::pair<std::string, std::string>(BookCrashTest&)> state;  // (books, other)
    } cases[] = {
        {"rename", [this](BookCrashTest&) { return songbook::RenameBook(P(books() / "Party.2bk"), "Fun"); },
         [this](BookCrashTest&) { return std::pair{Book(books(), "Party") + "/" + Book(books(), "Fun"), std::string()}; }},
        {"delete", [this](BookCrashTest&) { return songbook::DeleteBook(P(books() / "Party.2bk")); },
         [this](BookCrashTest&) { return std::pair{Book(books(), "Party"), std::string()}; }},
        {"move", [this](BookCrashTest&) { return songbook::MoveBook(P(books() / "Party.2bk"), P(other()), {}); },
         [this](BookCrashTest&) { return std::pair{Book(books(), "Party"), Book(other(), "Party")}; }},
    };
    for (const Case& c : cases) {
        std::pair<std::string, std::string> before;
        bool completed = false;
        for (int failAt = 1; !completed && failAt < 100; ++failAt) {
            SCOPED_TRACE(std::string(c.what) + ", operation " + std::to_string(failAt) + " failing");
            Fresh();
            before = c.state(*this);
            songbook::BookResult r;
            int calls = 0;
            {
                FailingOps ops([&](const std::string&, const std::string&, const std::string&) { return ++calls == failAt; });
                r = c.run(*this);
                completed = ops.failures() == 0;
            }
            NextStart();
            if (!r.Ok()) {
                EXPECT_EQ(c.state(*this), before) << r.detail;
                EXPECT_FALSE(r.detail.empty());
            } else {
                EXPECT_NE(c.state(*this), before);
            }
            EXPECT_EQ(FileNames(books()).size(), Book(books(), "Party").empty() && Book(books(), "Fun").empty() ? 2u : 4u);
        }
        EXPECT_TRUE(completed) << c.what;
    }
}

}  // namespace
