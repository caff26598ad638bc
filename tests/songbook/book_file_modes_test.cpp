// The permissions of book files: a moved, renamed or restored book keeps
// the mode its files had, so other users and backup tools can still read
// it; a book new to a folder gets the mode of any new file (the umask).
#include "songbook/book_backup.h"
#include "songbook/book_files.h"

#include "book_fixture.h"
#include "platform/os/archive/archive.h"

#include <sys/stat.h>

namespace {

using namespace book_test;
using songbook::BookStatus;

std::string P(const fs::path& path) { return path.string(); }

mode_t ModeOf(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

class BookFileModesTest : public BookFolderTest {
protected:
    void SetUp() override {
        BookFolderTest::SetUp();
        fw::zCloseZipFile();
        umask_ = ::umask(022);
        MakeBook(books(), "Party.2bk", "Party.2bd");
        SetMode(books(), "Party", 0640);
    }
    void TearDown() override {
        ::umask(umask_);
        BookFolderTest::TearDown();
    }
    static void SetMode(const fs::path& folder, const std::string& book, mode_t mode) {
        for (const char* ext : {".2bk", ".2bd"}) ASSERT_EQ(::chmod((folder / (book + ext)).c_str(), mode), 0);
    }
    static void ExpectMode(const fs::path& folder, const std::string& book, mode_t mode) {
        for (const char* ext : {".2bk", ".2bd"})
            EXPECT_EQ(ModeOf(folder / (book + ext)), mode) << std::oct << (folder / (book + ext));
    }
    mode_t umask_ = 022;
};

TEST_F(BookFileModesTest, MovedAndRenamedBooksKeepTheirMode) {
    const auto moved = songbook::MoveBook(P(books() / "Party.2bk"), P(other()), {});
    ASSERT_EQ(moved.status, BookStatus::Done) << moved.detail;
    ExpectMode(other(), "Party", 0640);

    // Moved over a book of the same name: the moved book's mode, not the old one's.
    MakeBook(books(), "Party.2bk", "Party.2bd");
    SetMode(books(), "Party", 0604);
    const auto replaced = songbook::MoveBook(P(books() / "Party.2bk"), P(other()), [](std::string_view) { return true; });
    ASSERT_EQ(replaced.status, BookStatus::Done) << replaced.detail;
    ExpectMode(other(), "Party", 0604);

    const auto renamed = songbook::RenameBook(P(other() / "Party.2bk"), "Friday");
    ASSERT_EQ(renamed.status, BookStatus::Done) << renamed.detail;
    ExpectMode(other(), "Friday", 0604);
}

TEST_F(BookFileModesTest, RestoredBooksKeepTheReplacedBooksModeAndNewOnesTheUsualMode) {
    fs::create_directory(root() / "backup");
    ASSERT_EQ(songbook::BackupBook(P(books() / "Party.2bk"), P(root() / "backup")).status, BookStatus::Done);
    const std::string archive = P(root() / "backup" / "Party.bkp");

    // Into a folder without the book: a new file's mode under the umask (022).
    const auto fresh = songbook::RestoreBooks(archive, P(other()), {});
    ASSERT_EQ(fresh.status, BookStatus::Done) << fresh.message;
    ExpectMode(other(), "Party", 0644);

    // Over the book in its own folder: the mode it had there.
    SetMode(books(), "Party", 0660);
    const auto over = songbook::RestoreBooks(archive, P(books()), [](std::string_view) { return true; });
    ASSERT_EQ(over.status, BookStatus::Done) << over.message;
    ExpectMode(books(), "Party", 0660);
}

}  // namespace
