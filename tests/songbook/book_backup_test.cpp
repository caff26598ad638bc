// Backup and restore of song books through the archive layer: consistent
// copies stored under bare names with the dated comment, and restores that
// take only sound book files and replace nothing unasked.
#include "songbook/book_backup.h"

#include "book_fixture.h"
#include "platform/os/archive/archive.h"
#include "platform/text/clock.h"
#include "platform/text/dates.h"
#include "songbook/book_texts.h"
#include "tests/songbook/older_books.h"
#include "tests/platform/os/archive/archive_fixture.h"

#include <zip.h>

#include <utility>
#include <vector>

namespace {

using namespace book_test;
using songbook::BookStatus;
namespace text = songbook::text;

using Entries = std::vector<std::pair<std::string, std::string>>;

std::string P(const fs::path& path) { return path.string(); }
using archive_test::ZipContents;

// A zip archive made by libzip itself, with raw entry names.
void MakeZip(const fs::path& path, const Entries& entries) {
    int code = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(z, nullptr);
    for (const auto& [name, data] : entries) {
        zip_source_t* src = zip_source_buffer(z, data.data(), data.size(), 0);
        ASSERT_GE(zip_file_add(z, name.c_str(), src, ZIP_FL_ENC_GUESS), 0) << zip_strerror(z);
    }
    ASSERT_EQ(zip_close(z), 0) << zip_strerror(z);
}

// A small book of the earlier program's format.
const std::string& OlderListings() {
    static const std::string bytes = song_book_test::SbkFile({{"Danny Boy", "Trad.", "SC1", 1}, {"Moon", "Bob", "SC2", 3}});
    return bytes;
}
const std::string& OlderDiscs() {
    static const std::string bytes = song_book_test::SbdFile({{"SC1", 1, "C1"}, {"SC2", 2, ""}});
    return bytes;
}

class BookBackupTest : public BookFolderTest {
protected:
    void SetUp() override {
        BookFolderTest::SetUp();
        fw::zCloseZipFile();
        fw::FixClock(fw::DATE(3, 14, 2025), 0);
        fs::create_directory(backup());
        fs::create_directory(restore());
        MakeBook(books(), "Party.2bk", "Party.2bd");
    }
    void TearDown() override {
        fw::ResetClock();
        BookFolderTest::TearDown();
    }
    fs::path backup() const { return root() / "backup"; }
    fs::path restore() const { return root() / "restore"; }
    fs::path Archive() const { return backup() / "Party.bkp"; }

    songbook::BookResult Backup() { return songbook::BackupBook(P(books() / "Party.2bk"), P(backup())); }
    songbook::BookResult Restore(const fs::path& archive, bool answer = false) {
        return songbook::RestoreBooks(P(archive), P(restore()), [this, answer](std::string_view name) {
            asked_.emplace_back(name);
            return answer;
        });
    }
    std::vector<std::string> asked_;
};

TEST_F(BookBackupTest, RoundTripRestoresTheBookByteForByte) {
    const Files live = Contents(books());
    const auto r = Backup();
    ASSERT_EQ(r.status, BookStatus::Done) << r.message;
    EXPECT_EQ(r.message, text::kBackupCreated);
    EXPECT_EQ(r.path, P(Archive()));
    // The live files are only read, and no copy is left beside the archive.
    EXPECT_EQ(Contents(books()), live);
    EXPECT_EQ(Contents(backup()).size(), 1u);

    std::string comment;
    const Entries stored = ZipContents(Archive(), &comment);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].first, "Party.2bk");
    EXPECT_EQ(stored[1].first, "Party.2bd");
    EXPECT_EQ(comment, "Cantorvale V2 DedaDaru Virovir Backup Dated: 03/14/25");
    EXPECT_EQ(comment, songbook::BackupComment());

    const auto back = Restore(Archive());
    ASSERT_EQ(back.status, BookStatus::Done) << back.message;
    EXPECT_EQ(back.message, text::kRestored);
    EXPECT_TRUE(asked_.empty());
    EXPECT_EQ(Contents(restore()), (Files{{"Party.2bk", stored[0].second}, {"Party.2bd", stored[1].second}}));
    EXPECT_EQ(Rows(restore() / "Party.2bk"), Rows(books() / "Party.2bk"));
    EXPECT_EQ(Rows(restore() / "Party.2bd"), Rows(books() / "Party.2bd"));
    // The copies hold the book's own pages; only the first page's header counts the copy.
    for (const char* file : {"Party.2bk", "Party.2bd"}) {
        const std::string a = live.at(file), b = ReadFile(restore() / file);
        ASSERT_EQ(a.size(), b.size()) << file;
        EXPECT_EQ(a.substr(100), b.substr(100)) << file;
    }
}

TEST_F(BookBackupTest, SecondBackupReplacesTheEntriesOfTheSameName) {
    MakeZip(Archive(), {{"C:\\Books\\Party.2bd", "discs stored by the earlier program"}, {"Notes.txt", "kept"}});
    ASSERT_EQ(Backup().status, BookStatus::Done);
    MakeDatabase(books() / "Party.2bk", "Party.2bk", 5);  // the book grows meanwhile
    fw::FixClock(fw::DATE(12, 1, 2026), 0);
    ASSERT_EQ(Backup().status, BookStatus::Done);

    std::string comment;
    const Entries stored = ZipContents(Archive(), &comment);
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].first, "Notes.txt");
    EXPECT_EQ(stored[1].first, "Party.2bk");
    EXPECT_EQ(stored[2].first, "Party.2bd");
    EXPECT_EQ(comment, "Cantorvale V2 DedaDaru Virovir Backup Dated: 12/01/26");
    ASSERT_EQ(Restore(Archive()).status, BookStatus::Done);
    EXPECT_EQ(Rows(restore() / "Party.2bk"), Rows(books() / "Party.2bk"));
    EXPECT_FALSE(fs::exists(restore() / "Notes.txt"));
}

TEST_F(BookBackupTest, FailedBackupLeavesTheArchiveAsItWas) {
    ASSERT_EQ(Backup().status, BookStatus::Done);
    const Files good = Contents(backup());
    struct Case {
        const char* what;
        std::function<void()> spoil;
        const char* reason;
    } cases[] = {
        {"discs missing", [&] { fs::remove(books() / "Party.2bd"); }, "Party.2bd"},
        {"discs not a book", [&] { WriteFile(books() / "Party.2bd", "not a database"); }, text::kNotSongBookFile.data()},
        {"discs damaged",
         [&] {
             std::string bytes = ReadFile(books() / "Party.2bd");
             bytes.replace(bytes.size() - 4096, 4096, std::string(4096, '\xA5'));
             WriteFile(books() / "Party.2bd", bytes);
         },
         "not sound"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MakeBook(books(), "Party.2bk", "");
        MakeDatabase(books() / "Party.2bd", "discs", 200);
        c.spoil();
        const auto r = Backup();
        EXPECT_EQ(r.status, BookStatus::Failed);
        EXPECT_EQ(r.message.rfind("Error: ", 0), 0u) << r.message;
        EXPECT_NE(r.message.find(c.reason), std::string::npos) << r.message;
        EXPECT_EQ(Contents(backup()), good);
    }
    const auto r = songbook::BackupBook(P(books() / "Party.2bk"), P(root() / "gone"));
    EXPECT_EQ(r.status, BookStatus::Failed);
    EXPECT_FALSE(fs::exists(root() / "gone"));
}

TEST_F(BookBackupTest, BookOfTheEarlierFormatIsStoredAsItIs) {
    WriteFile(books() / "Old.sbk", OlderListings());
    WriteFile(books() / "OLD.SBD", OlderDiscs());
    ASSERT_EQ(songbook::BackupBook(P(books() / "Old.sbk"), P(backup())).status, BookStatus::Done);
    const Entries stored = ZipContents(backup() / "Old.bkp");
    EXPECT_EQ(stored, (Entries{{"Old.sbk", OlderListings()}, {"OLD.SBD", OlderDiscs()}}));
    ASSERT_EQ(Restore(backup() / "Old.bkp").status, BookStatus::Done);
    EXPECT_EQ(Contents(restore()), (Files{{"Old.sbk", OlderListings()}, {"OLD.SBD", OlderDiscs()}}));
    // Files of the format that hold records of another layout are no book.
    MakeZip(backup() / "Odd.bkp", {{"Odd.sbk", OlderDiscs()}, {"Odd.sbd", OlderDiscs()}});
    const auto r = Restore(backup() / "Odd.bkp");
    EXPECT_EQ(r.status, BookStatus::Failed);
    EXPECT_NE(r.message.find("Odd.sbk"), std::string::npos) << r.message;
}

TEST_F(BookBackupTest, DiscsEntryWithItsFullPathRestoresBesideTheListings) {
    const std::string listings = ReadFile(books() / "Party.2bk"), discs = ReadFile(books() / "Party.2bd");
    MakeZip(Archive(), {{"Party.2bk", listings}, {"C:\\Books\\Party.2bd", discs}, {"readme.txt", "not a book file"},
                        {"Tools/setup.exe", "nor this"}});
    const auto r = Restore(Archive());
    ASSERT_EQ(r.status, BookStatus::Done) << r.message;
    EXPECT_EQ(Contents(restore()), (Files{{"Party.2bk", listings}, {"Party.2bd", discs}}));
}

TEST_F(BookBackupTest, UnsafeNamesRefuseTheRestoreAndWriteNothingAnywhere) {
    const std::string listings = ReadFile(books() / "Party.2bk");
    for (const char* bad : {"../evil.2bk", "/tmp/evil.2bk", "Books/../../evil.2bd", "..\\evil.2bk"}) {
        SCOPED_TRACE(bad);
        MakeZip(Archive(), {{"Party.2bk", listings}, {bad, listings}});
        const Files before = Contents(root());
        const bool tmpEvil = fs::exists("/tmp/evil.2bk");
        const auto r = Restore(Archive());
        EXPECT_EQ(r.status, BookStatus::Failed);
        EXPECT_NE(r.message.find(bad), std::string::npos) << r.message;
        EXPECT_EQ(Contents(root()), before);
        EXPECT_EQ(fs::exists("/tmp/evil.2bk"), tmpEvil);
    }
}

TEST_F(BookBackupTest, BadArchivesGiveTheErrorTextAndChangeNothing) {
    ASSERT_EQ(Backup().status, BookStatus::Done);
    const std::string good = ReadFile(Archive());
    MakeBook(restore(), "Party.2bk", "Party.2bd");
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"not a zip", "Party listings, typed by hand\n"},
        {"truncated", good.substr(0, good.size() / 2)},
        {"end cut off", good.substr(0, good.size() - 6)},
        {"empty", ""},
    };
    const fs::path bad = backup() / "Bad.bkp";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(bad, c.bytes);
        const Files before = Contents(root());
        const auto r = Restore(bad, true);
        EXPECT_EQ(r.status, BookStatus::Failed);
        EXPECT_NE(r.message.find("Bad.bkp"), std::string::npos) << r.message;
        EXPECT_EQ(Contents(root()), before);
    }
    EXPECT_EQ(Restore(backup() / "Missing.bkp").status, BookStatus::Failed);
}

TEST_F(BookBackupTest, ExtractedFilesAreCheckedBeforeAnythingIsReplaced) {
    MakeBook(restore(), "Party.2bk", "Party.2bd");
    std::string damaged = ReadFile(books() / "Party.2bd");
    MakeDatabase(root() / "big.2bd", "big", 300);
    damaged = ReadFile(root() / "big.2bd");
    damaged.replace(damaged.size() - 4096, 4096, std::string(4096, '\x5A'));
    struct Case {
        const char* what;
        std::string discs;
        const char* reason;
    } cases[] = {
        {"not a database", "plain text", text::kNotSongBookFile.data()},
        {"damaged database", damaged, "damaged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MakeZip(Archive(), {{"Party.2bk", ReadFile(books() / "Party.2bk")}, {"Party.2bd", c.discs}});
        const Files before = Contents(root());
        const auto r = Restore(Archive(), true);
        EXPECT_EQ(r.status, BookStatus::Failed);
        EXPECT_NE(r.message.find(c.reason), std::string::npos) << r.message;
        EXPECT_NE(r.message.find("Party.2bd"), std::string::npos) << r.message;
        EXPECT_EQ(Contents(root()), before);
    }
}

TEST_F(BookBackupTest, BooksOfTheSameNameAreReplacedOnlyWhenTheUserSaysSo) {
    MakeBook(other(), "Party.2bk", "Party.2bd");
    MakeBook(other(), "Fresh.2bk", "Fresh.2bd");
    const Files from = Contents(other());
    MakeZip(Archive(), {{"Party.2bk", from.at("Party.2bk")}, {"Party.2bd", from.at("Party.2bd")},
                        {"Fresh.2bk", from.at("Fresh.2bk")}, {"Fresh.2bd", from.at("Fresh.2bd")}});
    MakeBook(restore(), "PARTY.2BK", "Party.2bd");  // the same book in another letter case
    const Files here = Contents(restore());

    // Kept: only the other book comes back.
    auto r = Restore(Archive(), false);
    ASSERT_EQ(r.status, BookStatus::Done) << r.message;
    EXPECT_EQ(asked_, std::vector<std::string>{"Party"});
    Files want = here;
    want["Fresh.2bk"] = from.at("Fresh.2bk");
    want["Fresh.2bd"] = from.at("Fresh.2bd");
    EXPECT_EQ(Contents(restore()), want);

    // Kept again, and nothing else to restore: declined, nothing changed.
    MakeZip(Archive(), {{"Party.2bk", from.at("Party.2bk")}, {"Party.2bd", from.at("Party.2bd")}});
    r = Restore(Archive(), false);
    EXPECT_EQ(r.status, BookStatus::Declined);
    EXPECT_EQ(Contents(restore()), want);

    // Replaced: in place, under the names the files have here.
    r = Restore(Archive(), true);
    ASSERT_EQ(r.status, BookStatus::Done) << r.message;
    want["PARTY.2BK"] = from.at("Party.2bk");
    want["Party.2bd"] = from.at("Party.2bd");
    EXPECT_EQ(Contents(restore()), want);
}

TEST_F(BookBackupTest, ArchiveWithoutBookFilesOrABookInUse) {
    MakeZip(Archive(), {{"readme.txt", "no books"}});
    auto r = Restore(Archive(), true);
    EXPECT_EQ(r.status, BookStatus::Failed);
    EXPECT_EQ(r.message, text::kNoBooksInBackup);

    ASSERT_EQ(Backup().status, BookStatus::Done);
    MakeBook(restore(), "Party.2bk", "Party.2bd");
    WriteFile(restore() / "Party.2bk-journal", "a change under way");
    const Files before = Contents(restore());
    r = Restore(Archive(), true);
    EXPECT_EQ(r.status, BookStatus::InUse);
    EXPECT_EQ(Contents(restore()), before);
}

}  // namespace
