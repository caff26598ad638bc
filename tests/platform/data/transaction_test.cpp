// Transactions over several files, also against other processes: the
// writers that must crash or hold locks run in forked children.
#include "data_test_support.h"

#include "platform/data/transaction.h"
#include "platform/runtime/thread_context.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

using namespace datatest;

namespace {

class Transactions : public ::testing::Test {
protected:
    void SetUp() override {
        bookName->name = dir / "BOOK.2BK";
        discName->name = dir / "BOOK.2BD";
        for (fw::File* f : {book.get(), discs.get()}) {
            fw::CREATE(*f);
            fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
            ASSERT_EQ(fw::ERRORCODE(), 0);
        }
        AddSong(*book, "Kept", "K1", 1);
        AddSong(*discs, "Kept", "K1", 1);
    }
    void TearDown() override {
        fw::CLOSE(*book);
        fw::CLOSE(*discs);
    }
    void CloseAndReopen() {
        for (fw::File* f : {book.get(), discs.get()}) {
            fw::CLOSE(*f);
            fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
            ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        }
    }

    TempDir dir;
    std::shared_ptr<Named> bookName = std::make_shared<Named>();
    std::shared_ptr<Named> discName = std::make_shared<Named>();
    std::unique_ptr<fw::File> book = MakeSongFile(bookName, "SongBook");
    std::unique_ptr<fw::File> discs = MakeSongFile(discName, "SBDiscs");
};

TEST_F(Transactions, CommitWritesAllFilesAndRollbackNone) {
    fw::LOGOUT(2, *discs, *book);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    EXPECT_TRUE(fw::InTransaction());
    AddSong(*book, "New", "N1", 1);
    AddSong(*discs, "New", "N1", 1);
    EXPECT_EQ(fw::RECORDS(*book), 2);  // the transaction sees its own writes
    fw::ROLLBACK();
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::RECORDS(*book), 1);
    EXPECT_EQ(fw::RECORDS(*discs), 1);

    fw::LOGOUT(2, *discs, *book);
    AddSong(*book, "New", "N1", 1);
    fw::SET(discs->FindKey("KDISC"));
    fw::NEXT(*discs);
    fw::DELETE(*discs);
    fw::COMMIT();
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_FALSE(fw::InTransaction());
    CloseAndReopen();
    EXPECT_EQ(fw::RECORDS(*book), 2);
    EXPECT_EQ(fw::RECORDS(*discs), 0);
}

TEST_F(Transactions, ASavePointUndoesOnlyTheWritesAfterIt) {
    fw::LOGOUT(2, *discs, *book);
    AddSong(*book, "Before", "B1", 1);
    fw::SavePoint();
    ASSERT_EQ(fw::ERRORCODE(), 0);
    AddSong(*book, "Undone", "U1", 1);
    AddSong(*discs, "Undone", "U1", 1);
    fw::RollbackToSavePoint();
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::RECORDS(*book), 2);
    EXPECT_EQ(fw::RECORDS(*discs), 1);
    fw::SavePoint();
    AddSong(*discs, "Kept too", "T1", 1);
    fw::ReleaseSavePoint();
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::COMMIT();
    CloseAndReopen();
    EXPECT_EQ(fw::RECORDS(*book), 2);
    EXPECT_EQ(fw::RECORDS(*discs), 2);
    fw::SavePoint();  // no transaction
    EXPECT_EQ(fw::ERRORCODE(), 91);
}

TEST_F(Transactions, MisuseOnlySetsAnError) {
    fw::ROLLBACK();
    EXPECT_EQ(fw::ERRORCODE(), 91);
    fw::COMMIT();
    EXPECT_EQ(fw::ERRORCODE(), 91);
    fw::LOGOUT(2, *book);
    fw::LOGOUT(2, *discs);
    EXPECT_EQ(fw::ERRORCODE(), 56);
    fw::ROLLBACK();
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::RECORDS(*book), 1);
}

TEST_F(Transactions, AThreadEndingInsideItsTransactionRollsItBack) {
    {
        fw::ThreadContext other(2);
        fw::SetCurrentContext(&other);
        fw::OPEN(*book, fw::ReadWrite | fw::DenyNone);
        fw::LOGOUT(2, *book);
        AddSong(*book, "Half done", "H1", 1);
        fw::SetCurrentContext(nullptr);
    }
    EXPECT_EQ(fw::RECORDS(*book), 1);
    fw::LOGOUT(1, *book);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::COMMIT();
}

TEST_F(Transactions, AStreamGoesOnAroundALogout) {
    fw::STREAM(*book);
    AddSong(*book, "Streamed", "S1", 1);
    fw::LOGOUT(2, *book, *discs);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    AddSong(*book, "In transaction", "T1", 1);
    fw::ROLLBACK();
    AddSong(*book, "Streamed again", "S2", 1);
    fw::FLUSH(*book);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    CloseAndReopen();
    EXPECT_EQ(fw::RECORDS(*book), 3);  // Kept and the two streamed
}

// A writer killed inside its transaction leaves both files as they were;
// one killed after COMMIT leaves both changed.
TEST_F(Transactions, AKilledWriterLeavesBothFilesAllOrNothing) {
    struct Case {
        const char* stage;
        bool writeBoth;
        bool commit;
        long bookAfter, discsAfter;
    } cases[] = {{"between the two writes", false, false, 1, 1},
                 {"after both writes, before COMMIT", true, false, 1, 1},
                 {"after COMMIT", true, true, 1001, 2}};
    for (const auto& c : cases) {
        Child writer([&](Child&) -> char {
            fw::OPEN(*book, fw::ReadWrite | fw::DenyNone);
            fw::OPEN(*discs, fw::ReadWrite | fw::DenyNone);
            fw::LOGOUT(2, *discs, *book);
            if (fw::ERRORCODE()) return 'L';
            for (int i = 0; i < 1000; ++i) AddSong(*book, "Crash", "C", i + 1);  // more than the cache holds back
            if (c.writeBoth) AddSong(*discs, "Crash", "C", 1);
            if (c.commit) fw::COMMIT();
            return fw::ERRORCODE() ? 'E' : 'w';
        });
        ASSERT_EQ(writer.Receive(), 'w') << c.stage;
        writer.Kill();
        CloseAndReopen();
        EXPECT_EQ(fw::RECORDS(*book), c.bookAfter) << c.stage;
        EXPECT_EQ(fw::RECORDS(*discs), c.discsAfter) << c.stage;
        // Whatever the kill left behind, the files take writes again.
        fw::LOGOUT(2, *book, *discs);
        EXPECT_EQ(fw::ERRORCODE(), 0) << c.stage;
        fw::ROLLBACK();
    }
}

// Keys made once at the commit: the records read back in key order, a
// unique clash is still refused on the spot, and the file keeps the layout
// any copy of the program checks on opening.
TEST_F(Transactions, DeferredKeysAreMadeAtTheCommitAndTheLayoutStaysAsItWas) {
    fw::DeferKeys(*book);
    EXPECT_EQ(fw::ERRORCODE(), 91);  // no transaction
    fw::LOGOUT(2, *discs, *book);
    fw::DeferKeys(*book);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    for (int i = 0; i < 300; ++i) AddSong(*book, ("Song " + std::to_string(299 - i)).c_str(), "D", i + 1);
    AddSong(*book, "Twice", "D", 5);
    EXPECT_EQ(fw::ERRORCODE(), fw::DupKeyErr);
    fw::SET(book->FindKey("KTITLE"));  // served while the key is deferred
    fw::NEXT(*book);
    EXPECT_EQ(Buf(*book).Title.Clip(), "Kept");
    fw::COMMIT();
    ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    CloseAndReopen();  // no 46: the keys are the declared ones
    EXPECT_EQ(fw::RECORDS(*book), 301);
    std::vector<std::string> titles;
    fw::SET(book->FindKey("KTITLE"));
    for (fw::NEXT(*book); fw::ERRORCODE() == 0 && titles.size() < 3; fw::NEXT(*book)) titles.emplace_back(Buf(*book).Title.Clip());
    EXPECT_EQ(titles, (std::vector<std::string>{"Kept", "Song 0", "Song 1"}));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2((dir / "BOOK.2BK").c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* q = nullptr;
    sqlite3_prepare_v2(db, "SELECT group_concat(sql, ';') FROM (SELECT sql FROM sqlite_master WHERE type='index' ORDER BY name)", -1, &q, nullptr);
    ASSERT_EQ(sqlite3_step(q), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(q, 0)),
                 "CREATE INDEX \"key_KADDED\" ON records(\"Added\") WHERE (\"Added\" <> 0);"
                 "CREATE UNIQUE INDEX \"key_KDISC\" ON records(\"Disc\",\"Track\") WHERE (\"Disc\" <> '' OR \"Track\" <> 0);"
                 "CREATE INDEX \"key_KTITLE\" ON records(\"Title\") WHERE (\"Title\" <> '')");
    sqlite3_finalize(q);
    sqlite3_close(db);
}

// The rule for deferring: at least 1,000 records added and more than the
// file has, asked before or inside the transaction alike.
TEST_F(Transactions, KeysAreMadeOnceForManyRecordsAgainstTheFilesOwn) {
    fw::LOGOUT(2, *book);
    for (int i = 0; i < 2000; ++i) AddSong(*book, "Song", "S", i + 1);
    fw::COMMIT();
    ASSERT_EQ(fw::RECORDS(*book), 2001);
    const struct {
        long adding;
        bool quicker;
    } cases[] = {{999, false}, {1000, false}, {2001, false}, {2002, true}, {50000, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(fw::KeysOnceIsQuicker(*book, c.adding), c.quicker) << c.adding;
        fw::LOGOUT(2, *discs, *book);
        EXPECT_EQ(fw::KeysOnceIsQuicker(*book, c.adding), c.quicker) << c.adding << " inside";
        fw::ROLLBACK();
    }
}

// Undone by a rollback and by a kill inside the transaction: the file is
// as it was, keys and all.
TEST_F(Transactions, DeferredKeysComeBackAfterARollbackOrAKill) {
    fw::LOGOUT(2, *discs, *book);
    fw::DeferKeys(*book);
    AddSong(*book, "Gone", "G", 1);
    fw::ROLLBACK();
    CloseAndReopen();
    EXPECT_EQ(fw::RECORDS(*book), 1);
    {
        Child writer([&](Child&) -> char {
            fw::OPEN(*book, fw::ReadWrite | fw::DenyNone);
            fw::OPEN(*discs, fw::ReadWrite | fw::DenyNone);
            fw::LOGOUT(2, *discs, *book);
            fw::DeferKeys(*book);
            if (fw::ERRORCODE()) return 'D';
            for (int i = 0; i < 1000; ++i) AddSong(*book, "Crash", "C", i + 1);
            return fw::ERRORCODE() ? 'E' : 'w';
        });
        ASSERT_EQ(writer.Receive(), 'w');
        writer.Kill();
        CloseAndReopen();
        EXPECT_EQ(fw::RECORDS(*book), 1);
        AddSong(*book, "After", "A", 1);
        EXPECT_EQ(fw::ERRORCODE(), 0);
        AddSong(*book, "After", "A", 1);
        EXPECT_EQ(fw::ERRORCODE(), fw::DupKeyErr);
        fw::SET(book->FindKey("KTITLE"));
        fw::NEXT(*book);
        EXPECT_EQ(Buf(*book).Title.Clip(), "After");
        fw::DELETE(*book);
    }
}

TEST_F(Transactions, AChangeByAnotherProcessGives89AfterWatch) {
    fw::SET(book->FindKey("KDISC"));
    fw::WATCH(*book);
    fw::NEXT(*book);
    const std::string pos = fw::POSITION(*book);
    Child other([&](Child&) -> char {
        fw::OPEN(*book, fw::ReadWrite | fw::DenyNone);
        fw::REGET(*book, pos);
        Buf(*book).Title = "Other station";
        fw::PUT(*book);
        return fw::ERRORCODE() ? 'E' : 'p';
    });
    ASSERT_EQ(other.Receive(), 'p');
    other.Release();
    Buf(*book).Title = "Mine";
    fw::PUT(*book);
    EXPECT_EQ(fw::ERRORCODE(), fw::RecordChangedErr);
    fw::WATCH(*book);
    fw::REGET(*book, pos);
    EXPECT_EQ(Buf(*book).Title.Str(), "Other station");
}

TEST_F(Transactions, LogoutFailsAfterItsTimeoutWhileAnotherProcessWrites) {
    Child holder([&](Child&) -> char {
        fw::OPEN(*book, fw::ReadWrite | fw::DenyNone);
        fw::LOGOUT(2, *book);
        return fw::ERRORCODE() ? 'E' : 'l';
    });
    ASSERT_EQ(holder.Receive(), 'l');
    fw::LOGOUT(1, *discs, *book);
    EXPECT_EQ(fw::ERRORCODE(), fw::IsLockedErr);
    EXPECT_FALSE(fw::InTransaction());
    // Reading goes on meanwhile.
    EXPECT_EQ(fw::RECORDS(*book), 1);
    holder.Release();
    fw::LOGOUT(1, *discs, *book);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::COMMIT();
}

TEST_F(Transactions, OpenOfAFileLockedByAnotherProcessGives32) {
    fw::CLOSE(*book);
    const std::string path = bookName->name;
    Child locker([&](Child&) -> char {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        return sqlite3_exec(db, "BEGIN EXCLUSIVE; DELETE FROM records", nullptr, nullptr, nullptr) == SQLITE_OK ? 'x' : 'E';
    });
    ASSERT_EQ(locker.Receive(), 'x');
    fw::SEND(*book, "Recover=1");
    fw::OPEN(*book, fw::ReadWrite | fw::DenyNone);
    EXPECT_EQ(fw::ERRORCODE(), fw::IsLockedErr);
    EXPECT_EQ(fw::ERROR(), "File Is Already Locked");
    locker.Kill();  // its lock dies with it, and its change is rolled back
    fw::OPEN(*book, fw::ReadWrite | fw::DenyNone);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::RECORDS(*book), 1);
}

}  // namespace
