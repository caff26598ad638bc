// Consistent database copies for backups: the copy, its check, and the
// files that are refused.
#include "platform/data/snapshot/database_snapshot.h"

#include "sqlite_fixture.h"

#include <functional>

namespace {

using namespace snapshot_test;

class SnapshotTest : public TempFolderTest {
protected:
    fs::path Book() const { return root_ / "Party.2bk"; }
    fs::path Temp() const { return root_ / "temp"; }
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directory(Temp());
    }
    bool TempIsEmpty() const { return fs::is_empty(Temp()); }
};

TEST_F(SnapshotTest, CopiesTheDatabaseAndRemovesTheCopyAfterwards) {
    MakeDatabase(Book(), "songs", 300, "Party");
    const std::string before = ReadFile(Book());
    fs::path copy;
    {
        fw::DatabaseSnapshot snapshot;
        std::string error;
        ASSERT_TRUE(fw::SnapshotDatabase(Book(), Temp(), snapshot, error)) << error;
        copy = snapshot.Path();
        EXPECT_EQ(copy.parent_path(), Temp());
        EXPECT_EQ(Rows(copy, "songs"), Rows(Book(), "songs"));
        // Every page but the first (whose header counts the copy) is the source's.
        const std::string bytes = ReadFile(copy);
        ASSERT_EQ(bytes.size(), before.size());
        EXPECT_EQ(bytes.substr(4096), before.substr(4096));
        EXPECT_TRUE(fw::CheckDatabase(copy, error)) << error;
    }
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_TRUE(TempIsEmpty());
    // The live file was only read: same bytes, no journal left beside it.
    EXPECT_EQ(ReadFile(Book()), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 2);
}

TEST_F(SnapshotTest, TakesOnlyCommittedChanges) {
    MakeDatabase(Book(), "songs", 3, "Party");
    const std::string committed = Rows(Book(), "songs");
    // Another connection is half way through a change.
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(Book().c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN IMMEDIATE; INSERT INTO songs(title) VALUES('uncommitted');"
                                   "DELETE FROM songs WHERE id=1;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    fw::DatabaseSnapshot snapshot;
    std::string error;
    ASSERT_TRUE(fw::SnapshotDatabase(Book(), Temp(), snapshot, error)) << error;
    EXPECT_EQ(Rows(snapshot.Path(), "songs"), committed);
    EXPECT_EQ(sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(writer);
    EXPECT_NE(Rows(Book(), "songs"), committed);
}

TEST_F(SnapshotTest, MovedSnapshotKeepsOneOwner) {
    MakeDatabase(Book(), "songs", 1, "Party");
    fw::DatabaseSnapshot a;
    std::string error;
    ASSERT_TRUE(fw::SnapshotDatabase(Book(), Temp(), a, error)) << error;
    const fs::path path = a.Path();
    fw::DatabaseSnapshot b = std::move(a);
    EXPECT_TRUE(a.Path().empty());
    EXPECT_EQ(b.Path(), path);
    EXPECT_TRUE(fs::exists(path));
    b.Remove();
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(SnapshotTest, RefusedSourcesLeaveNothingBehind) {
    MakeDatabase(root_ / "good.db", "songs", 300, "Good");
    const std::string good = ReadFile(root_ / "good.db");
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* reason;  // part of the error text
    } cases[] = {
        {"missing", [] {}, "does not exist"},
        {"a folder", [&] { fs::create_directory(Book()); }, "does not exist"},
        {"empty", [&] { WriteFile(Book(), ""); }, "not an SQLite database"},
        {"text", [&] { WriteFile(Book(), "listings of a party\n"); }, "not an SQLite database"},
        {"header only", [&] { WriteFile(Book(), good.substr(0, 100)); }, "Cannot copy"},
        {"damaged page",
         [&] {
             std::string bad = good;
             for (size_t i = 2 * 4096; i < 3 * 4096; ++i) bad[i] = static_cast<char>(0xA5);
             WriteFile(Book(), bad);
         },
         "not sound"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ec;
        fs::remove_all(Book(), ec);
        c.make();
        fw::DatabaseSnapshot snapshot;
        std::string error;
        EXPECT_FALSE(fw::SnapshotDatabase(Book(), Temp(), snapshot, error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_TRUE(snapshot.Path().empty());
        EXPECT_TRUE(TempIsEmpty());
    }
}

TEST_F(SnapshotTest, UnwritableFolderIsReported) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
    MakeDatabase(Book(), "songs", 1, "Party");
    fs::permissions(Temp(), fs::perms::owner_read | fs::perms::owner_exec);
    fw::DatabaseSnapshot snapshot;
    std::string error;
    EXPECT_FALSE(fw::SnapshotDatabase(Book(), Temp(), snapshot, error));
    EXPECT_NE(error.find("Cannot write in"), std::string::npos) << error;
    fs::permissions(Temp(), fs::perms::owner_all);
}

TEST_F(SnapshotTest, CheckTellsSoundFromDamaged) {
    MakeDatabase(Book(), "songs", 300, "Party");
    std::string error;
    EXPECT_TRUE(fw::CheckDatabase(Book(), error)) << error;
    EXPECT_TRUE(fw::IsSqliteFile(Book()));
    std::string bad = ReadFile(Book());
    for (size_t i = 2 * 4096 + 8; i < 3 * 4096; ++i) bad[i] = static_cast<char>(0x5A);
    WriteFile(Book(), bad);
    EXPECT_FALSE(fw::CheckDatabase(Book(), error));
    EXPECT_FALSE(error.empty());
    WriteFile(Book(), "no database");
    EXPECT_FALSE(fw::IsSqliteFile(Book()));
    EXPECT_FALSE(fw::CheckDatabase(Book(), error));
}

}  // namespace
