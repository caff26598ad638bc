// Writing backups: round trip, replaced entries, the comment, and failures
// that must leave an earlier archive as it was.
#include "platform/os/archive/archive.h"

#include "platform/runtime/thread_context.h"

#include "archive_fixture.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace archive_test;
using Contents = std::vector<std::pair<std::string, std::string>>;

const std::string kComment = "Cantorvale V2 DedaDaru Virovir Backup Dated: 03/14/26";

class BackupTest : public ArchiveTest {
public:
    void SetUp() override {
        ArchiveTest::SetUp();
        WriteFile(books() / "Party.2bk", Binary(300000, 1));
        WriteFile(books() / "Party.2bd", Binary(4000, 2));
    }
    std::vector<std::pair<fs::path, std::string>> Book() const {
        return {{books() / "Party.2bk", "Party.2bk"}, {books() / "Party.2bd", "Party.2bd"}};
    }
    fs::path Archive() const { return backup() / "Party.bkp"; }
};

TEST_F(BackupTest, BackupThenRestoreGivesTheSameBytes) {
    ASSERT_EQ(Backup(Archive(), Book(), kComment), 0) << fw::zGetLastErrorAsText();
    EXPECT_EQ(fw::zGetLastErrorAsText(), "");

    std::string comment;
    const Contents contents = ZipContents(Archive(), &comment);
    EXPECT_EQ(contents, (Contents{{"Party.2bk", ReadFile(books() / "Party.2bk")},
                                  {"Party.2bd", ReadFile(books() / "Party.2bd")}}));
    EXPECT_EQ(comment, kComment);
    // Nothing but the archive is left in its folder.
    EXPECT_EQ(Snapshot(backup()).size(), 1u);

    ASSERT_EQ(Restore(Archive(), restore()), 0) << fw::zGetLastErrorAsText();
    EXPECT_EQ(Snapshot(restore()), Snapshot(books()));
}

TEST_F(BackupTest, SecondBackupReplacesTheEntriesAndTheComment) {
    ASSERT_EQ(Backup(Archive(), Book(), kComment), 0) << fw::zGetLastErrorAsText();
    WriteFile(books() / "Party.2bk", "changed listings");
    const std::string later = "Cantorvale V2 DedaDaru Virovir Backup Dated: 03/15/26";
    ASSERT_EQ(Backup(Archive(), Book(), later), 0) << fw::zGetLastErrorAsText();

    std::string comment;
    const Contents contents = ZipContents(Archive(), &comment);
    ASSERT_EQ(contents.size(), 2u);
    std::map<std::string, std::string> byName(contents.begin(), contents.end());
    EXPECT_EQ(byName["Party.2bk"], "changed listings");
    EXPECT_EQ(byName["Party.2bd"], ReadFile(books() / "Party.2bd"));
    EXPECT_EQ(comment, later);
}

TEST_F(BackupTest, EntriesOfTheSameBaseNameAreReplacedOthersKept) {
    // An archive of the earlier program: the discs file under its full
    // path, a listings file in another letter case, and an unrelated file.
    MakeZip(Archive(), {{"C:\\Books\\Party.2bd", "old discs"}, {"PARTY.2BK", "old listings"}, {"notes.txt", "kept"}});
    ASSERT_EQ(Backup(Archive(), Book(), kComment), 0) << fw::zGetLastErrorAsText();

    const Contents contents = ZipContents(Archive());
    std::map<std::string, std::string> byName(contents.begin(), contents.end());
    EXPECT_EQ(byName.size(), 3u);
    EXPECT_EQ(byName["notes.txt"], "kept");
    EXPECT_EQ(byName["Party.2bk"], ReadFile(books() / "Party.2bk"));
    EXPECT_EQ(byName["Party.2bd"], ReadFile(books() / "Party.2bd"));
}

TEST_F(BackupTest, NamesInWindows1252RoundTrip) {
    const std::string name = "Caf\xE9";  // Windows-1252 e acute
    WriteFile(books() / "Caf\xC3\xA9.2bk", "listings");
    const std::string ansiPath = books().string() + "/" + name + ".2bk";
    ASSERT_EQ(Backup(Archive(), {{ansiPath, name + ".2bk"}}, kComment), 0) << fw::zGetLastErrorAsText();

    // Stored as UTF-8, as the zip format defines, and read back as the same text.
    EXPECT_EQ(ZipContents(Archive()).at(0).first, "Caf\xC3\xA9.2bk");
    ASSERT_EQ(fw::zOpenZipFile(Archive().string()), 0);
    std::vector<fw::ArchiveEntry> entries;
    ASSERT_EQ(fw::zListEntries(entries), 0);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, name + ".2bk");
    ASSERT_EQ(Restore(Archive(), restore()), 0) << fw::zGetLastErrorAsText();
    EXPECT_EQ(ReadFile(restore() / "Caf\xC3\xA9.2bk"), "listings");
}

TEST_F(BackupTest, BookFilesAreFoundInAnyLetterCase) {
    fs::rename(books() / "Party.2bd", books() / "PARTY.2BD");
    ASSERT_EQ(Backup(Archive(), {{books() / "Party.2bd", "Party.2bd"}}, kComment), 0) << fw::zGetLastErrorAsText();
    EXPECT_EQ(ZipContents(Archive()).at(0).second, ReadFile(books() / "PARTY.2BD"));
}

// Each case breaks the backup after an earlier good archive exists, at the
// call that should fail; the archive must be byte for byte as it was.
struct FailedBackup {
    const char* what;
    short status;
    std::function<short(BackupTest&)> run;
};

TEST_F(BackupTest, FailedBackupLeavesTheEarlierArchive) {
    const std::vector<FailedBackup> cases = {
        {"listings file missing", fw::ArchiveNotFound,
         [](BackupTest& t) {
             fs::remove(t.books() / "Party.2bk");
             return Backup(t.Archive(), t.Book(), "new");
         }},
        {"file removed after it was ordered", fw::ArchiveNotFound,
         [](BackupTest& t) {
             fw::zOpenZipFile(t.Archive().string());
             fw::zOrderFile((t.books() / "Party.2bk").string(), "Party.2bk", 0);
             fw::zOrderFile((t.books() / "Party.2bd").string(), "Party.2bd", 0);
             fs::remove(t.books() / "Party.2bd");
             return fw::zCompressFiles("", "", 3, 0, 0, "new", 0);
         }},
        {"file turned into a folder after it was ordered", fw::ArchiveNotFound,
         [](BackupTest& t) {
             fw::zOpenZipFile(t.Archive().string());
             fw::zOrderFile((t.books() / "Party.2bd").string(), "Party.2bd", 0);
             fs::remove(t.books() / "Party.2bd");
             fs::create_directory(t.books() / "Party.2bd");
             return fw::zCompressFiles("", "", 3, 0, 0, "new", 0);
         }},
        {"archive replaced by a folder", fw::ArchiveNotZip,
         [](BackupTest& t) {
             fs::rename(t.Archive(), t.root() / "kept.bkp");
             fs::create_directory(t.Archive());
             const short s = Backup(t.Archive(), t.Book(), "new");
             fs::remove(t.Archive());
             fs::rename(t.root() / "kept.bkp", t.Archive());
             return s;
         }},
        {"nothing ordered", fw::ArchiveNothingQueued,
         [](BackupTest& t) {
             fw::zOpenZipFile(t.Archive().string());
             return fw::zCompressFiles("", "", 3, 0, 0, "new", 0);
         }},
        {"queue dropped by close", fw::ArchiveNothingQueued,
         [](BackupTest& t) {
             fw::zOpenZipFile(t.Archive().string());
             fw::zOrderFile((t.books() / "Party.2bk").string(), "Party.2bk", 0);
             fw::zCloseZipFile();
             fw::zOpenZipFile(t.Archive().string());
             return fw::zCompressFiles("", "", 3, 0, 0, "new", 0);
         }},
        {"create over an existing archive", fw::ArchiveExists,
         [](BackupTest& t) { return fw::zCreateNewZip(t.Archive().string()); }},
    };
    for (const FailedBackup& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(backup());
        fs::create_directory(backup());
        WriteFile(books() / "Party.2bk", Binary(300000, 1));
        fs::remove_all(books() / "Party.2bd");
        WriteFile(books() / "Party.2bd", Binary(4000, 2));
        ASSERT_EQ(Backup(Archive(), Book(), kComment), 0) << fw::zGetLastErrorAsText();
        const auto before = Snapshot(backup());

        EXPECT_EQ(c.run(*this), c.status);
        EXPECT_NE(fw::zGetLastErrorAsText(), "");
        EXPECT_EQ(Snapshot(backup()), before);  // same archive, no temporary file left
    }
}

TEST_F(BackupTest, CallsOutOfOrderAreRefused) {
    EXPECT_EQ(fw::zOrderFile((books() / "Party.2bk").string(), "Party.2bk", 0), fw::ArchiveNotOpen);
    EXPECT_EQ(fw::zGetLastErrorAsText(), "No archive is open");
    EXPECT_EQ(fw::zCompressFiles("", "", 3, 0, 0, kComment, 0), fw::ArchiveNotOpen);
    EXPECT_EQ(fw::zCloseZipFile(), fw::ArchiveNotOpen);

    EXPECT_EQ(fw::zCreateNewZip((root() / "nowhere" / "Party.bkp").string()), fw::ArchiveNotFound);
    EXPECT_EQ(fw::zCreateNewZip(backup().string()), fw::ArchiveExists);  // a folder of that name
    ASSERT_EQ(fw::zCreateNewZip(Archive().string()), 0);
    EXPECT_EQ(fw::zOrderFile((books() / "Party.2bk").string(), "", 0), fw::ArchiveBadName);
    EXPECT_EQ(fw::zOrderFile((books() / "Party.2bk").string(), "books/", 0), fw::ArchiveBadName);
    // An archive never compressed is never written.
    EXPECT_EQ(fw::zCloseZipFile(), 0);
    EXPECT_FALSE(fs::exists(Archive()));
}

TEST_F(BackupTest, EachThreadHasItsOwnCurrentArchive) {
    ASSERT_EQ(fw::zCreateNewZip(Archive().string()), 0);
    ASSERT_EQ(fw::zOrderFile((books() / "Party.2bk").string(), "Party.2bk", 0), 0);
    {
        fw::ThreadContext other(2);
        fw::SetCurrentContext(&other);
        EXPECT_EQ(fw::zCompressFiles("", "", 3, 0, 0, kComment, 0), fw::ArchiveNotOpen);
        fw::SetCurrentContext(nullptr);
    }
    EXPECT_EQ(fw::zGetLastErrorAsText(), "");
    EXPECT_EQ(fw::zCompressFiles("", "", 3, 0, 0, kComment, 0), 0);
    EXPECT_EQ(ZipContents(Archive()).size(), 1u);
}

}  // namespace
