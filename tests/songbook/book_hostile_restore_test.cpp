// Backups from outside: every archive that is not whole books of ours is
// refused before anything of the host's book changes, and nothing is left
// behind in the folder.
#include "songbook/book_backup.h"

#include "book_fixture.h"
#include "platform/os/archive/archive.h"
#include "songbook/book_texts.h"
#include "tests/platform/data/snapshot/sqlite_fixture.h"
#include "tests/platform/os/archive/archive_fixture.h"

#include <cstring>

namespace {

using namespace book_test;
using archive_test::Entry;
using songbook::BookStatus;
namespace text = songbook::text;

std::string P(const fs::path& path) { return path.string(); }

using snapshot_test::Exec;

std::uint16_t Le16(const std::string& s, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8));
}
void SetLe32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Makes the archive declare `size` bytes for the entry `name`, in its local
// and its central header alike.
void DeclareSize(const fs::path& archive, const std::string& name, std::uint32_t size) {
    std::string z = ReadFile(archive);
    int patched = 0;
    for (std::size_t at = 0; (at = z.find("PK", at)) != std::string::npos; ++at) {
        if (z.compare(at, 4, "PK\x03\x04", 4) == 0 && z.compare(at + 30, name.size(), name) == 0 &&
            Le16(z, at + 26) == name.size()) {
            SetLe32(z, at + 22, size);
            ++patched;
        } else if (z.compare(at, 4, "PK\x01\x02", 4) == 0 && z.compare(at + 46, name.size(), name) == 0 &&
                   Le16(z, at + 28) == name.size()) {
            SetLe32(z, at + 24, size);
            ++patched;
        }
    }
    ASSERT_EQ(patched, 2) << name;
    WriteFile(archive, z);
}

class HostileRestoreTest : public BookFolderTest {
protected:
    void SetUp() override {
        BookFolderTest::SetUp();
        fw::zCloseZipFile();
        MakeBook(books(), "Party.2bk", "Party.2bd");  // the host's book
        MakeDatabase(other() / "Party.2bk", "restored listing");
        MakeDatabase(other() / "Party.2bd", "restored disc");
    }
    fs::path Archive() const { return root() / "Party.bkp"; }
    std::string Good(const std::string& name) const { return ReadFile(other() / name); }
    // A copy of the good listings file changed by `sql`.
    std::string Changed(const std::string& name, const std::string& sql) const {
        const fs::path copy = root() / ("changed-" + name);
        fs::copy_file(other() / name, copy, fs::copy_options::overwrite_existing);
        Exec(copy, sql);
        return ReadFile(copy);
    }
    // Restores, answering yes; the restore must be refused and the host's
    // folder stay byte for byte as it was.
    songbook::BookResult Refused() {
        const Files before = Contents(books());
        const auto r = songbook::RestoreBooks(P(Archive()), P(books()), [](std::string_view) { return true; });
        EXPECT_EQ(r.status, BookStatus::Failed) << r.message;
        EXPECT_EQ(Contents(books()), before);
        return r;
    }
};

TEST_F(HostileRestoreTest, BookFilesWhoseSchemaIsNotOursAreRefused) {
    struct Case {
        const char* what;
        const char* sql;
    } cases[] = {
        {"a trigger", "CREATE TRIGGER wipe AFTER UPDATE ON records BEGIN DELETE FROM records; END;"},
        {"a view", "CREATE VIEW everything AS SELECT * FROM records;"},
        {"a dropped column", "ALTER TABLE records DROP COLUMN Duet;"},
        {"an extra column", "ALTER TABLE records ADD COLUMN Extra TEXT;"},
        {"another table", "CREATE TABLE notes(x);"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        archive_test::MakeZip(Archive(), {{"Party.2bk", Changed("Party.2bk", c.sql)}, {"Party.2bd", Good("Party.2bd")}});
        const auto r = Refused();
        EXPECT_NE(r.message.find(text::kNotSongBookFile), std::string::npos) << r.message;
        EXPECT_NE(r.message.find("Party.2bk"), std::string::npos) << r.message;
    }
}

TEST_F(HostileRestoreTest, FilesThatAreNoBookFilesAreRefused) {
    const fs::path plain = root() / "plain.db";
    Exec(plain, "CREATE TABLE t(id INTEGER PRIMARY KEY, title TEXT); INSERT INTO t(title) VALUES('x');");
    std::string topSpeed(0x200, '\0');
    topSpeed.replace(14, 4, "tOpS");
    topSpeed += std::string(3000, '\x7F');
    struct Case {
        const char* what;
        std::string listings;
    } cases[] = {
        {"an SQLite file that is no book", ReadFile(plain)},
        {"the older format's signature with a damaged body", topSpeed},
        {"the discs file's layout as listings", Good("Party.2bd")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        archive_test::MakeZip(Archive(), {{"Party.2bk", c.listings}, {"Party.2bd", Good("Party.2bd")}});
        const auto r = Refused();
        EXPECT_NE(r.message.find("Party.2bk"), std::string::npos) << r.message;
    }
}

TEST_F(HostileRestoreTest, ALoneListingsFileIsRefusedBesideTheBook) {
    archive_test::MakeZip(Archive(), {{"Party.2bk", Good("Party.2bk")}});
    const auto r = Refused();
    EXPECT_NE(r.message.find(text::kHalfBookInBackup), std::string::npos) << r.message;
    archive_test::MakeZip(Archive(), {{"Party.2bk", Good("Party.2bk")}, {"Party.sbd", Good("Party.2bd")}});
    Refused();
}

TEST_F(HostileRestoreTest, ABombIsRefusedByItsDeclaredSizeAndALyingSizeIsNeverExceeded) {
    // Declared far beyond any book: refused before a byte is written.
    archive_test::MakeZip(Archive(), {{"Party.2bk", Good("Party.2bk")}, {"Party.2bd", std::string(65536, '\0')}});
    DeclareSize(Archive(), "Party.2bd", 0x40000000u);
    auto r = Refused();
    EXPECT_NE(r.message.find(text::kBackupTooLarge), std::string::npos) << r.message;

    // Declared small, holding 8 MiB: the extraction stops at the declared size.
    archive_test::MakeZip(Archive(), {{"Party.2bk", Good("Party.2bk")}, {"Party.2bd", std::string(8 << 20, '\0')}});
    DeclareSize(Archive(), "Party.2bd", 4096);
    r = Refused();
    EXPECT_NE(r.message.find("Party.2bd"), std::string::npos) << r.message;
}

TEST_F(HostileRestoreTest, NamesTheProgramCannotSpellAreRefusedNamingTheCharacters) {
    // Two books whose names would both become "?".
    archive_test::MakeZip(Archive(), {{"\xE6\xAD\x8C.2bk", Good("Party.2bk")}, {"\xE6\xAD\x8C.2bd", Good("Party.2bd")},
                                      {"\xE6\x9B\xB2.2bk", Good("Party.2bk")}, {"\xE6\x9B\xB2.2bd", Good("Party.2bd")}});
    const auto r = Refused();
    EXPECT_NE(r.message.find("U+6B4C"), std::string::npos) << r.message;
}

TEST_F(HostileRestoreTest, ASoundBookStillRestoresAndOpens) {
    archive_test::MakeZip(Archive(), {{"Party.2bk", Good("Party.2bk")}, {"Party.2bd", Good("Party.2bd")}});
    const auto r = songbook::RestoreBooks(P(Archive()), P(books()), [](std::string_view) { return true; });
    ASSERT_EQ(r.status, BookStatus::Done) << r.message;
    EXPECT_EQ(Rows(books() / "Party.2bk"), "restored listing 1\nrestored listing 2\nrestored listing 3\n");
    EXPECT_EQ(Rows(books() / "Party.2bd"), "restored disc 1\nrestored disc 2\nrestored disc 3\n");
    EXPECT_EQ(Contents(books()).size(), 2u);
}

}  // namespace
