// The book file service on temporary folders: the listing, delete, move,
// rename and the name checks of New and Rename.
#include "songbook/book_files.h"

#include "book_fixture.h"
#include "songbook/book_texts.h"

#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace book_test;
using songbook::BookStatus;
namespace text = songbook::text;

std::string P(const fs::path& path) { return path.string(); }

// --- Listing -------------------------------------------------------------

class ListBooksTest : public BookFolderTest {};

TEST_F(ListBooksTest, ListsRegularBookFilesSortedByName) {
    MakeBook(books(), "my.book.2bk", "my.book.2bd");
    MakeBook(books(), "B.SBK", "B.SBD");
    MakeBook(books(), "a.2bk", "a.2bd");
    fs::create_directory(books() / "x.2bk");
    WriteFile(books() / "y.xbk", "other");
    MakeDatabase(books() / "z.2bd", "discs alone");
    WriteFile(books() / ".2bk", "no name");
    WriteFile(books() / "\xE6\x97\xA5.2bk", "a name outside the code page");

    const auto list = songbook::ListBooks(P(books()));
    struct Want { const char* name; const char* file; songbook::BookFormat format; };
    const std::vector<Want> want = {{"a", "a.2bk", songbook::BookFormat::Current},
                                    {"B", "B.SBK", songbook::BookFormat::Older},
                                    {"my.book", "my.book.2bk", songbook::BookFormat::Current}};
    ASSERT_EQ(list.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(list[i].name, want[i].name);
        EXPECT_EQ(list[i].fileName, want[i].file);
        EXPECT_EQ(list[i].path, P(books() / want[i].file));
        EXPECT_EQ(list[i].format, want[i].format);
    }
}

TEST_F(ListBooksTest, MissingFolderAndBackslashPaths) {
    EXPECT_TRUE(songbook::ListBooks(P(root() / "gone")).empty());
    MakeBook(books(), "Party.2bk", "Party.2bd");
    // The folder typed in another case with backslashes is found.
    std::string typed = P(root()) + "\\BOOKS\\";
    const auto list = songbook::ListBooks(typed);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].path, P(books() / "Party.2bk"));
}

TEST_F(ListBooksTest, ListingRemovesTheTemporaryFilesOfEndedProcessesOnly) {
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const std::string endedId = std::to_string(ended);
    MakeBook(books(), "Party.2bk", "Party.2bd");
    const Files before = Contents(books());
    for (const std::string& name : {".cv-copy-" + endedId + "-a1b2c3", ".cv-extract-" + endedId + "-zz",
                                    ".cv-snapshot-" + endedId + "-Qx7aB1-journal"})
        WriteFile(books() / name, "left by a killed operation");
    // Kept: a running process's (init's), and names that are not ours.
    Files kept = before;
    for (const std::string& name : {std::string(".cv-copy-1-running"), std::string(".cv-notes"),
                                    std::string(".cv-copy-x-1"), std::string("cv-copy-" + endedId + "-a")}) {
        WriteFile(books() / name, "keep");
        kept[name] = "keep";
    }
    EXPECT_EQ(songbook::ListBooks(P(books())).size(), 1u);
    EXPECT_EQ(Contents(books()), kept);
}

// --- Delete --------------------------------------------------------------

class DeleteBookTest : public BookFolderTest {};

TEST_F(DeleteBookTest, RemovesThePairOfTheBooksFormat) {
    struct Case {
        const char* listings;
        const char* discs;  // "" for none
        const char* by;     // path given, in any case
    } cases[] = {
        {"Party.2bk", "Party.2bd", "Party.2bk"},
        {"PARTY.2BK", "party.2bd", "party.2bk"},  // companion found whatever its case
        {"Old.sbk", "Old.sbd", "Old.sbk"},        // the older pair, not Old.2bd
        {"Lonely.2bk", "", "Lonely.2bk"},         // no discs file: the listings file alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.listings);
        fs::remove_all(books());
        fs::create_directory(books());
        MakeBook(books(), c.listings, c.discs);
        MakeBook(books(), "Keep.2bk", "Keep.2bd");
        MakeDatabase(books() / "Old.2bd", "bystander");
        const Files keep = {{"Keep.2bk", ReadFile(books() / "Keep.2bk")},
                            {"Keep.2bd", ReadFile(books() / "Keep.2bd")},
                            {"Old.2bd", ReadFile(books() / "Old.2bd")}};

        const auto r = songbook::DeleteBook(P(books() / c.by));
        EXPECT_EQ(r.status, BookStatus::Done) << r.detail;
        EXPECT_EQ(r.message, text::kDeleted);
        EXPECT_EQ(Contents(books()), keep);
    }
}

TEST_F(DeleteBookTest, FailedRemovalKeepsBothFilesAndSaysSo) {
    MakeBook(books(), "Party.2bk", "Party.2bd");
    const Files before = Contents(books());
    FailingOps ops([](const std::string& op, const std::string& from, const std::string&) {
        return op == "rename" && EndsWith(from, "Party.2bd");
    });
    const auto r = songbook::DeleteBook(P(books() / "Party.2bk"));
    EXPECT_EQ(r.status, BookStatus::Failed);
    EXPECT_EQ(r.message, text::kUnableToDelete);
    EXPECT_NE(r.detail.find("Party.2bd"), std::string::npos) << r.detail;
    EXPECT_EQ(Contents(books()), before);
}

TEST_F(DeleteBookTest, MissingBookAndBookInUseAreRefused) {
    auto r = songbook::DeleteBook(P(books() / "Gone.2bk"));
    EXPECT_EQ(r.status, BookStatus::Failed);
    EXPECT_EQ(r.message, text::kUnableToDelete);
    r = songbook::DeleteBook(P(books() / "notes.txt"));
    EXPECT_EQ(r.status, BookStatus::Failed);

    MakeBook(books(), "Party.2bk", "Party.2bd");
    WriteFile(books() / "Party.2bd-journal", "a change under way");
    const Files before = Contents(books());
    r = songbook::DeleteBook(P(books() / "Party.2bk"));
    EXPECT_EQ(r.status, BookStatus::InUse);
    EXPECT_EQ(r.message, text::kBookInUse);
    EXPECT_EQ(Contents(books()), before);
}

// --- Move ----------------------------------------------------------------

class MoveBookTest : public BookFolderTest {
protected:
    void SetUp() override {
        BookFolderTest::SetUp();
        MakeBook(books(), "Party.2bk", "party.2BD");
        MakeBook(books(), "Keep.2bk", "Keep.2bd");
        book_ = Contents(books());
        bookRows_ = RowsIn(books());
    }
    static std::string Rows(const Files& rows, const std::string& name) { return rows.at(name); }
    // The question, answering `answer` and counting the calls.
    songbook::ReplaceQuestion Ask(bool answer) {
        return [this, answer](std::string_view name) {
            asked_.emplace_back(name);
            return answer;
        };
    }
    Files book_, bookRows_;
    std::vector<std::string> asked_;
};

TEST_F(MoveBookTest, MovesBothFilesUnderTheirNames) {
    const auto r = songbook::MoveBook(P(books() / "Party.2bk"), P(other()), Ask(false));
    ASSERT_EQ(r.status, BookStatus::Done) << r.detail;
    EXPECT_EQ(r.message, text::kMoved);
    EXPECT_EQ(r.path, P(other() / "Party.2bk"));
    // Copied through SQLite: the same rows, not necessarily the same bytes.
    EXPECT_EQ(RowsIn(other()), (Files{{"Party.2bk", Rows(bookRows_, "Party.2bk")}, {"party.2BD", Rows(bookRows_, "party.2BD")}}));
    EXPECT_EQ(Contents(books()), (Files{{"Keep.2bk", book_["Keep.2bk"]}, {"Keep.2bd", book_["Keep.2bd"]}}));
    EXPECT_TRUE(asked_.empty());
}

TEST_F(MoveBookTest, OlderBookMovesItsOwnPair) {
    MakeBook(books(), "Old.SBK", "Old.sbd");
    const auto r = songbook::MoveBook(P(books() / "Old.SBK"), P(other()), Ask(false));
    ASSERT_EQ(r.status, BookStatus::Done) << r.detail;
    EXPECT_EQ(Contents(other()).size(), 2u);
    EXPECT_TRUE(fs::exists(other() / "Old.SBK"));
    EXPECT_TRUE(fs::exists(other() / "Old.sbd"));
    EXPECT_EQ(Contents(books()).size(), 4u);
}

TEST_F(MoveBookTest, IntoItsOwnFolderIsRefused) {
    for (const std::string& dest : {P(books()), P(books()) + "/", P(root()) + "\\Books\\.", P(other()) + "/../books"}) {
        SCOPED_TRACE(dest);
        const auto r = songbook::MoveBook(P(books() / "Party.2bk"), dest, Ask(true));
        EXPECT_EQ(r.status, BookStatus::SameFolder);
        EXPECT_EQ(r.message, text::kAlreadyInFolder);
        EXPECT_EQ(Contents(books()), book_);
    }
    EXPECT_TRUE(asked_.empty());
}

TEST_F(MoveBookTest, AFailedStepLeavesTheBookWhereItWas) {
    struct Case {
        const char* what;
        FailingOps::Rule fails;
    } cases[] = {
        {"first copy", [](const std::string& op, const std::string& f, const std::string&) { return op == "copy" && EndsWith(f, ".2bk"); }},
        {"second copy", [](const std::string& op, const std::string& f, const std::string&) { return op == "copy" && EndsWith(f, ".2BD"); }},
        {"source removal", [](const std::string& op, const std::string& f, const std::string&) {
             return op == "rename" && EndsWith(f, "books/party.2BD");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FailingOps ops(c.fails);
        const auto r = songbook::MoveBook(P(books() / "Party.2bk"), P(other()), Ask(true));
        EXPECT_EQ(r.status, BookStatus::Failed);
        EXPECT_EQ(r.message, text::kUnableToMove);
        EXPECT_FALSE(r.detail.empty());
        EXPECT_EQ(ops.failures(), 1);
        EXPECT_EQ(Contents(books()), book_);
        EXPECT_TRUE(Contents(other()).empty());
    }
}

TEST_F(MoveBookTest, ABookOfTheSameNameThereIsReplacedOnlyWhenTheUserSaysSo) {
    MakeBook(other(), "PARTY.2BK", "Party.2bd");  // the same book names in other letter cases
    const Files there = Contents(other());

    auto r = songbook::MoveBook(P(books() / "Party.2bk"), P(other()), Ask(false));
    EXPECT_EQ(r.status, BookStatus::Declined);
    EXPECT_EQ(asked_, std::vector<std::string>{"Party"});
    EXPECT_EQ(Contents(books()), book_);
    EXPECT_EQ(Contents(other()), there);

    {
        // Replacing, the second copy fails: the book there is back as it was.
        FailingOps ops([](const std::string& op, const std::string& f, const std::string&) {
            return op == "copy" && EndsWith(f, ".2BD");
        });
        r = songbook::MoveBook(P(books() / "Party.2bk"), P(other()), Ask(true));
        EXPECT_EQ(r.status, BookStatus::Failed);
        EXPECT_EQ(Contents(books()), book_);
        EXPECT_EQ(Contents(other()), there);
    }

    r = songbook::MoveBook(P(books() / "Party.2bk"), P(other()), Ask(true));
    ASSERT_EQ(r.status, BookStatus::Done) << r.detail;
    EXPECT_EQ(RowsIn(other()), (Files{{"Party.2bk", Rows(bookRows_, "Party.2bk")}, {"party.2BD", Rows(bookRows_, "party.2BD")}}));
    EXPECT_FALSE(fs::exists(books() / "Party.2bk"));
}

TEST_F(MoveBookTest, MissingDiscsOrDestinationChangesNothing) {
    MakeBook(books(), "Half.2bk", "");
    auto r = songbook::MoveBook(P(books() / "Half.2bk"), P(other()), Ask(true));
    EXPECT_EQ(r.status, BookStatus::Failed);
    EXPECT_NE(r.detail.find("Half.2bd"), std::string::npos) << r.detail;
    r = songbook::MoveBook(P(books() / "Party.2bk"), P(root() / "gone"), Ask(true));
    EXPECT_EQ(r.status, BookStatus::Failed);
    EXPECT_EQ(r.message, text::kUnableToMove);
    EXPECT_TRUE(Contents(other()).empty());
    EXPECT_EQ(Contents(books()).size(), book_.size() + 1);
}

// --- Rename --------------------------------------------------------------

class RenameBookTest : public BookFolderTest {
protected:
    void SetUp() override {
        BookFolderTest::SetUp();
        MakeBook(books(), "Party.2bk", "Party.2bd");
        before_ = Contents(books());
    }
    songbook::BookResult Rename(const std::string& name) { return songbook::RenameBook(P(books() / "Party.2bk"), name); }
    Files before_;
};

TEST_F(RenameBookTest, RenamesBothFiles) {
    const auto r = Rename("Fun Night  ");
    ASSERT_EQ(r.status, BookStatus::Done) << r.detail;
    EXPECT_EQ(r.message, text::kRenamed);
    EXPECT_EQ(r.path, P(books() / "Fun Night.2bk"));
    EXPECT_EQ(Contents(books()),
              (Files{{"Fun Night.2bk", before_["Party.2bk"]}, {"Fun Night.2bd", before_["Party.2bd"]}}));
}

TEST_F(RenameBookTest, SameNameTouchesNothing) {
    const auto r = Rename("Party");
    EXPECT_EQ(r.status, BookStatus::Unchanged);
    EXPECT_TRUE(r.message.empty());
    EXPECT_EQ(Contents(books()), before_);
}

TEST_F(RenameBookTest, ChangeOfLetterCaseOnlyIsARename) {
    const auto r = Rename("PARTY");
    ASSERT_EQ(r.status, BookStatus::Done) << r.detail;
    EXPECT_EQ(Contents(books()), (Files{{"PARTY.2bk", before_["Party.2bk"]}, {"PARTY.2bd", before_["Party.2bd"]}}));
}

TEST_F(RenameBookTest, TakenNamesAreRefusedWithBothBooksIntact) {
    struct Case {
        const char* what;
        const char* listings;
        const char* discs;
        const char* newName;
    } cases[] = {
        {"listings taken", "Fun.2bk", "Fun.2bd", "Fun"},
        {"listings taken in another case", "FUN.2BK", "", "fun"},
        {"discs taken", "", "Fun.2bd", "Fun"},
        {"a journal under the new name", "", "Fun.2bk-journal", "Fun"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& e : fs::directory_iterator(books()))
            if (e.path().filename().string().rfind("Party", 0) != 0) fs::remove(e.path());
        if (*c.listings) MakeDatabase(books() / c.listings, "other listings");
        if (*c.discs) MakeDatabase(books() / c.discs, "other discs");
        const Files with = Contents(books());
        const auto r = Rename(c.newName);
        EXPECT_EQ(r.status, BookStatus::NameInUse);
        EXPECT_EQ(r.message, text::kRenameNameInUse);
        EXPECT_EQ(Contents(books()), with);
    }
}

TEST_F(RenameBookTest, MissingDiscsFileRenamesTheListingsFile) {
    fs::remove(books() / "Party.2bd");
    const auto r = Rename("Fun");
    ASSERT_EQ(r.status, BookStatus::Done) << r.detail;
    EXPECT_EQ(Contents(books()), (Files{{"Fun.2bk", before_["Party.2bk"]}}));
}

TEST_F(RenameBookTest, FailedSecondRenameUndoesTheFirst) {
    FailingOps ops([](const std::string& op, const std::string& from, const std::string&) {
        return op == "rename" && EndsWith(from, "Party.2bd");
    });
    const auto r = Rename("Fun");
    EXPECT_EQ(r.status, BookStatus::Failed);
    EXPECT_EQ(r.message, text::kUnableToRename);
    EXPECT_NE(r.detail.find("Party.2bd"), std::string::npos) << r.detail;
    EXPECT_EQ(Contents(books()), before_);
}

TEST_F(RenameBookTest, OlderBookKeepsItsExtensionsAndCaseDifferentCompanion) {
    MakeBook(books(), "Old.SBK", "OLD.sbd");
    const Files old = Contents(books());
    const auto r = songbook::RenameBook(P(books() / "Old.SBK"), "OLD");
    ASSERT_EQ(r.status, BookStatus::Done) << r.detail;
    EXPECT_EQ(r.path, P(books() / "OLD.sbk"));
    Files want = before_;
    want["OLD.sbk"] = old.at("Old.SBK");
    want["OLD.sbd"] = old.at("OLD.sbd");
    EXPECT_EQ(Contents(books()), want);
}

// --- Names of New and Rename ---------------------------------------------

class BookNameTest : public BookFolderTest {};

TEST_F(BookNameTest, NameTable) {
    MakeBook(books(), "Party.2bk", "Party.2bd");
    MakeDatabase(books() / "Orphan.2bd", "discs alone");
    const std::string folder = P(books());
    struct Case {
        std::string name;
        BookStatus status;
        std::string file;  // Done: the new book's file name
    } cases[] = {
        {"", BookStatus::InvalidName, ""},
        {"   ", BookStatus::InvalidName, ""},
        {".", BookStatus::InvalidName, ""},
        {"..", BookStatus::InvalidName, ""},
        {" . . ", BookStatus::InvalidName, ""},
        {"a/b", BookStatus::InvalidName, ""},
        {"a\\b", BookStatus::InvalidName, ""},
        {"../up", BookStatus::InvalidName, ""},
        {"tab\there", BookStatus::InvalidName, ""},
        {"bell\x07", BookStatus::InvalidName, ""},
        {"del\x7f", BookStatus::InvalidName, ""},
        {"gap\x81", BookStatus::InvalidName, ""},
        {std::string(252, 'x'), BookStatus::InvalidName, ""},
        {"Party", BookStatus::NameInUse, ""},
        {"PARTY", BookStatus::NameInUse, ""},
        {"orphan", BookStatus::NameInUse, ""},
        {"my.book", BookStatus::Done, "my.book.2bk"},
        {"Caf\xe9 Night  ", BookStatus::Done, "Caf\xe9 Night.2bk"},
        {".hidden", BookStatus::Done, ".hidden.2bk"},
        {std::string(251, 'x'), BookStatus::Done, std::string(251, 'x') + ".2bk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("name \"" + c.name + "\"");
        const auto r = songbook::CheckNewBookName(folder, c.name);
        EXPECT_EQ(r.status, c.status);
        if (c.status == BookStatus::InvalidName) {
            EXPECT_EQ(r.message, text::kInvalidName);
        } else if (c.status == BookStatus::NameInUse) {
            EXPECT_EQ(r.message, text::kNewNameInUse);
        } else {
            EXPECT_EQ(r.path, folder + "/" + c.file);
        }
        // Rename applies the same checks before anything else.
        const auto check = songbook::CheckBookName(c.name);
        EXPECT_EQ(check.status, c.status == BookStatus::InvalidName ? BookStatus::InvalidName : BookStatus::Done);
        if (c.status == BookStatus::InvalidName) {
            EXPECT_EQ(songbook::RenameBook(folder + "/Party.2bk", c.name).status, BookStatus::InvalidName);
        }
    }
    EXPECT_EQ(Contents(books()).size(), 3u);
}

TEST_F(BookNameTest, NewBookPathInARootOrSeparatorEndedFolder) {
    EXPECT_EQ(songbook::CheckNewBookName("/", "Fresh").path, "/Fresh.2bk");
    EXPECT_EQ(songbook::CheckNewBookName("C:\\", "Fresh").path, "C:\\Fresh.2bk");
    EXPECT_EQ(songbook::CheckNewBookName(P(books()) + "/", "Fresh").path, P(books() / "Fresh.2bk"));
}

}  // namespace
