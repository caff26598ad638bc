// A book another copy of the program has open is in use: every operation
// that would replace, move or remove it refuses, and a move never loses a
// write the other copy was told was saved.
#include "songbook/book_backup.h"
#include "songbook/book_files.h"

#include "platform/data/file_use.h"
#include "songbook/book_texts.h"
#include "tests/platform/os/archive/archive_fixture.h"
#include "tests/songbook/book_process_fixture.h"

#include <chrono>
#include <thread>

namespace {

using namespace book_test;
using songbook::BookStatus;
namespace text = songbook::text;

std::string P(const fs::path& path) { return path.string(); }

class OtherProcessTest : public BookFolderTest {
protected:
    void SetUp() override {
        BookFolderTest::SetUp();
        fw::zCloseZipFile();
        MakeBook(books(), "Party.2bk", "Party.2bd");
        MakeBook(other(), "Party.2bk", "Party.2bd");
        archive_test::MakeZip(root() / "Party.bkp", {{"Party.2bk", ReadFile(other() / "Party.2bk")},
                                                      {"Party.2bd", ReadFile(other() / "Party.2bd")}});
        fs::remove(other() / "Party.2bk");
        fs::remove(other() / "Party.2bd");
    }
};

TEST_F(OtherProcessTest, EveryOperationRefusesABookOpenInAnotherCopy) {
    const auto yes = [](std::string_view) { return true; };
    struct Case {
        const char* what;
        std::function<songbook::BookResult()> run;
    } cases[] = {
        {"delete", [&] { return songbook::DeleteBook(P(books() / "Party.2bk")); }},
        {"restore", [&] { return songbook::RestoreBooks(P(root() / "Party.bkp"), P(books()), yes); }},
        {"move", [&] { return songbook::MoveBook(P(books() / "Party.2bk"), P(other()), yes); }},
        {"rename", [&] { return songbook::RenameBook(P(books() / "Party.2bk"), "Fun"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Files before = Contents(books());
        {
            auto child = HoldOpen(books() / "Party.2bk");
            const auto r = c.run();
            EXPECT_EQ(r.status, BookStatus::InUse) << r.message << " " << r.detail;
            EXPECT_EQ(r.message, text::kBookInUse);
            EXPECT_EQ(Contents(books()), before);
            EXPECT_TRUE(Contents(other()).empty());
        }
        // Closed there: the book is free again (shown here without changing it).
        EXPECT_FALSE(fw::data::IsFileInUse((books() / "Party.2bk").string()));
    }
    // A move over a book open elsewhere refuses too.
    MakeBook(other(), "Party.2bk", "Party.2bd");
    const Files there = Contents(other());
    auto child = HoldOpen(other() / "Party.2bk");
    EXPECT_EQ(songbook::MoveBook(P(books() / "Party.2bk"), P(other()), yes).status, BookStatus::InUse);
    EXPECT_EQ(Contents(other()), there);
}

TEST_F(OtherProcessTest, AMoveNeverLosesAWriteTheOtherCopyWasToldWasSaved) {
    const fs::path listings = books() / "Party.2bk";
    datatest::Child writer([listings](datatest::Child& c) {
        auto f = ListingsFile(listings);
        fw::SEND(*f, "Recover=0");
        for (int i = 1; i <= 2000; ++i) {
            fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
            if (fw::ERRORCODE() != 0) {
                if (fw::ERRORCODE() == 32) continue;  // the move holds it: try again
                break;                                // gone: moved away
            }
            fw::ClearRecord(f->Buffer(), f->Record());
            f->Rec<shell::SongBookRec>().Title = "write " + std::to_string(i);
            fw::ADD(*f);
            const bool saved = fw::ERRORCODE() == 0;
            fw::CLOSE(*f);
            if (saved) c.Send('s');
        }
        return 'x';
    });
    // Let the writer get going, then move while it writes.
    int saved = 0;
    for (; saved < 20; ++saved) ASSERT_EQ(writer.Receive(), 's') << saved;
    songbook::BookResult r;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    do {
        r = songbook::MoveBook(P(listings), P(other()), [](std::string_view) { return true; });
        if (r.status != BookStatus::InUse) break;
        std::this_thread::yield();
    } while (std::chrono::steady_clock::now() < deadline);
    ASSERT_EQ(r.status, BookStatus::Done) << r.message << " " << r.detail;
    for (char word; (word = writer.Receive()) != 'x' && word != 0;) saved += word == 's';
    const std::set<std::string> moved = Titles(other() / "Party.2bk");
    int found = 0;
    for (int i = 1; i <= 2000; ++i) found += moved.count("write " + std::to_string(i)) ? 1 : 0;
    EXPECT_EQ(found, saved);
    EXPECT_GE(saved, 20);
    EXPECT_FALSE(fs::exists(listings));
}

}  // namespace
