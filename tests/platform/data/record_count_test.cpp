// RECORDS keeps its count between calls: every way the number of records
// can change (this process's adds and deletes, streams, transactions that
// commit or roll back, save points, another process's writes, CREATE and
// BUILD) is followed, and a count asked after each equals a fresh count.
#include "data_test_support.h"

#include "platform/data/transaction.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <string>

using namespace datatest;

namespace {

class RecordCount : public ::testing::Test {
protected:
    void SetUp() override {
        bookName->name = dir / "BOOK.2BK";
        discName->name = dir / "BOOK.2BD";
        for (fw::File* f : {book.get(), discs.get()}) {
            fw::CREATE(*f);
            fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
            ASSERT_EQ(fw::ERRORCODE(), 0);
        }
        for (int i = 1; i <= 3; ++i) {
            AddSong(*book, "Kept", "K1", i);
            AddSong(*discs, "Kept", "K1", i);
        }
    }
    void TearDown() override {
        fw::CLOSE(*book);
        fw::CLOSE(*discs);
    }

    // The number of records as the file holds it, read on a connection of its own.
    static long Counted(const std::string& path) {
        sqlite3* db = nullptr;
        long n = -1;
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt* s = nullptr;
            if (sqlite3_prepare_v2(db, "SELECT count(*) FROM records", -1, &s, nullptr) == SQLITE_OK &&
                sqlite3_step(s) == SQLITE_ROW)
                n = static_cast<long>(sqlite3_column_int64(s, 0));
            sqlite3_finalize(s);
        }
        sqlite3_close(db);
        return n;
    }
    void DeleteFirst(fw::File& f) {
        fw::SET(f.FindKey("KDISC"));
        fw::NEXT(f);
        fw::DELETE(f);
    }

    TempDir dir;
    std::shared_ptr<Named> bookName = std::make_shared<Named>();
    std::shared_ptr<Named> discName = std::make_shared<Named>();
    std::unique_ptr<fw::File> book = MakeSongFile(bookName, "SongBook");
    std::unique_ptr<fw::File> discs = MakeSongFile(discName, "SBDiscs");
};

TEST_F(RecordCount, FollowsEveryChangeOfTheNumberOfRecords) {
    struct Case {
        const char* what;
        std::function<void()> change;
    };
    int track = 10;
    const Case cases[] = {
        {"an add", [&] { AddSong(*book, "Added", "A1", ++track); }},
        {"a delete", [&] { DeleteFirst(*book); }},
        {"a delete with no current record", [&] {
             DeleteFirst(*book);
             fw::DELETE(*book);
         }},
        {"a change", [&] {
             fw::SET(book->FindKey("KDISC"));
             fw::NEXT(*book);
             Buf(*book).Title = "Changed";
             fw::PUT(*book);
         }},
        {"adds in a stream",
         [&] {
             fw::STREAM(*book);
             for (int i = 0; i < 5; ++i) AddSong(*book, "Streamed", "S1", ++track);
             fw::FLUSH(*book);
         }},
        {"a committed transaction over both files",
         [&] {
             fw::LOGOUT(2, *book, *discs);
             AddSong(*book, "Committed", "C1", ++track);
             AddSong(*discs, "Committed", "C1", track);
             DeleteFirst(*discs);
             fw::COMMIT();
         }},
        {"the same with the files the other way round",
         [&] {
             fw::LOGOUT(2, *discs, *book);
             AddSong(*book, "Committed", "C2", ++track);
             DeleteFirst(*discs);
             fw::COMMIT();
         }},
        {"a rolled back transaction",
         [&] {
             fw::LOGOUT(2, *book, *discs);
             AddSong(*book, "Undone", "U1", ++track);
             AddSong(*discs, "Undone", "U1", track);
             fw::ROLLBACK();
         }},
        {"a save point rolled back",
         [&] {
             fw::LOGOUT(2, *book, *discs);
             AddSong(*book, "Before", "B1", ++track);
             fw::SavePoint();
             AddSong(*book, "Undone", "U2", ++track);
             AddSong(*discs, "Undone", "U2", track);
             fw::RollbackToSavePoint();
             fw::COMMIT();
         }},
        {"another process's add",
         [&] {
             const std::string path = bookName->name;
             Child child([&](Child&) {
                 auto other = MakeSongFile(std::make_shared<Named>(Named{path}), "SongBook");
                 fw::OPEN(*other, fw::ReadWrite | fw::DenyNone);
                 AddSong(*other, "Elsewhere", "E1", 1);
                 AddSong(*other, "Elsewhere", "E1", 2);
                 fw::CLOSE(*other);
                 return fw::ERRORCODE() == 0 ? 'y' : 'n';
             });
             EXPECT_EQ(child.Receive(), 'y');
         }},
        {"a failed add (a duplicate of a unique key)", [&] { AddSong(*book, "Twice", "K1", 2); }},
        {"CREATE over the open file", [&] {
             fw::CLOSE(*book);
             fw::CREATE(*book);
             fw::OPEN(*book, fw::ReadWrite | fw::DenyNone);
         }},
        {"BUILD removing duplicates", [&] {
             for (int i = 0; i < 3; ++i) AddSong(*book, "Again", "D1", ++track);
             fw::APPEND(*book);  // the last one again: the unique key goes
             fw::BUILD(*book);
         }},
    };
    for (const Case& c : cases) {
        // Each change starts from a count the file has kept.
        ASSERT_EQ(fw::RECORDS(*book), Counted(bookName->name)) << "before " << c.what;
        ASSERT_EQ(fw::RECORDS(*discs), Counted(discName->name)) << "before " << c.what;
        c.change();
        EXPECT_EQ(fw::RECORDS(*book), Counted(bookName->name)) << c.what;
        EXPECT_EQ(fw::RECORDS(*discs), Counted(discName->name)) << c.what;
        EXPECT_EQ(fw::ERRORCODE(), 0) << c.what;
    }
}

TEST_F(RecordCount, InsideATransactionTheCountIncludesItsOwnWrites) {
    EXPECT_EQ(fw::RECORDS(*book), 3);
    fw::LOGOUT(2, *discs, *book);  // the book attached to the discs' connection
    AddSong(*book, "New", "N1", 1);
    EXPECT_EQ(fw::RECORDS(*book), 4);
    DeleteFirst(*book);
    DeleteFirst(*book);
    EXPECT_EQ(fw::RECORDS(*book), 2);
    fw::ROLLBACK();
    EXPECT_EQ(fw::RECORDS(*book), 3);
}

}  // namespace
