// Files from outside never run their own SQL inside the program: a file
// whose schema is not exactly ours is refused with 47 before anything else
// is read, and every connection is hardened.
#include "data_test_support.h"

#include "platform/data/sqlite_connection.h"

#include "tests/platform/data/snapshot/sqlite_fixture.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using namespace datatest;

using snapshot_test::Exec;

long CountRows(const std::string& path) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    long n = -1;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM records", -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
        n = sqlite3_column_int64(s, 0);
    sqlite3_finalize(s);
    sqlite3_close(db);
    return n;
}

struct Hostile {
    const char* what;
    const char* sql;
};

TEST(HostileFiles, ASchemaThatIsNotExactlyOursGives47AndRunsNothing) {
    const Hostile cases[] = {
        {"trigger", "CREATE TRIGGER wipe AFTER UPDATE ON records BEGIN DELETE FROM records; END;"},
        {"insert trigger", "CREATE TRIGGER wipe2 BEFORE INSERT ON records BEGIN DELETE FROM records; END;"},
        {"view", "CREATE VIEW v AS SELECT * FROM records;"},
        {"other table", "CREATE TABLE extra(x);"},
        {"dropped column", "DROP INDEX key_KADDED; ALTER TABLE records DROP COLUMN Added;"},
        {"added column", "ALTER TABLE records ADD COLUMN Extra TEXT NOT NULL DEFAULT '';"},
        {"generated column", "ALTER TABLE records ADD COLUMN g INTEGER GENERATED ALWAYS AS (1) VIRTUAL;"},
        {"index on the layout table", "CREATE INDEX odd ON fw_layout(value);"},
    };
    for (const Hostile& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        auto name = std::make_shared<Named>(Named{dir / "songs.db"});
        auto f = MakeSongFile(name);
        fw::CREATE(*f);
        fw::OPEN(*f);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        AddSong(*f, "Blue Moon", "D1", 1);
        AddSong(*f, "Danny Boy", "D1", 2);
        fw::CLOSE(*f);
        Exec(name->name, c.sql);

        fw::OPEN(*f);
        EXPECT_EQ(fw::ERRORCODE(), 47) << fw::ERROR();
        fw::SHARE(*f);
        EXPECT_EQ(fw::ERRORCODE(), 47);
        AddSong(*f, "Moon River", "D1", 3);
        EXPECT_EQ(fw::ERRORCODE(), 37);
        fw::CLOSE(*f);
        if (std::string(c.what) != "dropped column") { EXPECT_EQ(CountRows(name->name), 2); }
    }
}

TEST(HostileFiles, ConnectionsTakeNoQuotedNameAsTextAndNoSchemaWrite) {
    TempDir dir;
    const std::string path = dir / "plain.db";
    Exec(path, "CREATE TABLE t(a TEXT); INSERT INTO t VALUES('x');");
    fw::data::Connection c;
    ASSERT_EQ(c.Open(path, false, false), SQLITE_OK);
    // A misspelt column is an error, not the text of its name.
    EXPECT_NE(c.Exec("SELECT \"nosuch\" FROM t"), SQLITE_OK);
    EXPECT_NE(c.Exec("INSERT INTO t VALUES(\"text\")"), SQLITE_OK);
    // Writing the schema directly is refused.
    EXPECT_NE(c.Exec("PRAGMA writable_schema=ON; UPDATE sqlite_master SET sql='' WHERE name='t'"), SQLITE_OK);
}

}  // namespace
