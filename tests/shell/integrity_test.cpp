// Deletes and updates of song-book records in their own transactions: a
// disc goes with all its listings or not at all, and an update after
// another station's change is refused and shows that change.
#include "integrity_test_support.h"

#include "shell/integrity_deletes.h"
#include "shell/integrity_results.h"
#include "shell/integrity_updates.h"

#include "platform/runtime/thread_context.h"

using integritytest::SongBookFixture;
using Strings = std::vector<std::string>;

namespace {

class Integrity : public SongBookFixture {};

TEST_F(Integrity, DeletingADiscDeletesEveryListingTheKeyFilesUnderIt) {
    struct Case {
        const char* what;
        Strings listings;  // disc/track
        const char* disc;
        Strings left;
    };
    const Case cases[] = {
        {"no listings", {"AB2/1"}, "AB1", {"AB2/1"}},
        {"listings between other discs", {"AB0/1", "AB1/1", "AB1/2", "AB2/1"}, "AB1", {"AB0/1", "AB2/1"}},
        {"listings that end the file", {"AB0/1", "AB1/1", "AB1/2"}, "AB1", {"AB0/1"}},
        // Disc IDs that differ only in case are one disc in the key.
        {"disc IDs in other cases", {"ab1/1", "AB1/2", "Ab1/3", "AB10/1"}, "AB1", {"AB10/1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (fw::File* f : {&shell::SongBook(), &shell::SBDiscs()}) {
            fw::CLOSE(*f);
            fw::CREATE(*f);
            fw::OPEN(*f, fw::ReadWrite | fw::DenyNone);
        }
        for (const char* d : {"AB0", "AB1", "AB2"}) AddDisc(d);
        for (const std::string& l : c.listings) {
            const auto slash = l.find('/');
            AddListing(l.substr(0, slash), static_cast<unsigned>(std::stoul(l.substr(slash + 1))));
        }
        ReadDisc(c.disc);
        EXPECT_EQ(shell::DeleteDiscWithListings(), shell::integrity::Done);
        EXPECT_EQ(Listings(), c.left);
        EXPECT_EQ(Discs(), 2);
        EXPECT_FALSE(fw::InTransaction());
        EXPECT_EQ(shell::Calling().SongBookOpenCount, 1);  // the caller's use only
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Integrity, ADiscDeleteThatFailsOnItsThirdListingLeavesTheDiscAndEveryListing) {
    AddDisc("AB1");
    for (unsigned t = 1; t <= 4; ++t) AddListing("AB1", t);
    BookSql("CREATE TRIGGER fail_third BEFORE DELETE ON records WHEN old.DISKTRACKNO = 3 "
            "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    ReadDisc("AB1");
    EXPECT_EQ(shell::DeleteDiscWithListings(), shell::integrity::Failed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Delete Operation Error");
    EXPECT_NE(messages.shown[0].text.find("disk full"), std::string::npos) << messages.shown[0].text;
    EXPECT_NE(messages.shown[0].text.find("file SongBook"), std::string::npos);
    EXPECT_FALSE(fw::InTransaction());
    EXPECT_EQ(Listings(), (Strings{"AB1/1", "AB1/2", "AB1/3", "AB1/4"}));
    EXPECT_EQ(Discs(), 1);
}

TEST_F(Integrity, ADiscDeleteOpensTheListingsItselfWhenTheThreadHasNot) {
    AddDisc("AB1");
    AddListing("AB1", 1);
    bookUse.reset();  // the caller holds only the discs
    ASSERT_FALSE(fw::IsOpen(shell::SongBook()));
    ReadDisc("AB1");
    EXPECT_EQ(shell::DeleteDiscWithListings(), shell::integrity::Done);
    EXPECT_FALSE(fw::IsOpen(shell::SongBook()));
    EXPECT_EQ(shell::Calling().SongBookOpenCount, 0);
    fw::OPEN(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
    EXPECT_EQ(fw::RECORDS(shell::SongBook()), 0);
    fw::CLOSE(shell::SongBook());
}

TEST_F(Integrity, DeletingAListingDeletesOnlyThatListing) {
    AddListing("AB1", 1, "Keep");
    AddListing("AB1", 2, "Gone");
    ReadListing("AB1", 2);
    EXPECT_EQ(shell::DeleteSongBookListing(), shell::integrity::Done);
    EXPECT_EQ(Listings(), (Strings{"AB1/1"}));
    EXPECT_TRUE(messages.shown.empty());

    // A listing another station deleted meanwhile: reported, nothing else goes.
    AddListing("AB1", 3);
    ReadListing("AB1", 3);
    {
        fw::ThreadContext other(2);
        fw::SetCurrentContext(&other);
        fw::OPEN(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
        ReadListing("AB1", 3);
        fw::DELETE(shell::SongBook());
        EXPECT_EQ(fw::ERRORCODE(), 0);
        fw::SetCurrentContext(nullptr);
    }
    EXPECT_EQ(shell::DeleteSongBookListing(), shell::integrity::Failed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Delete Operation Error");
    EXPECT_EQ(Listings(), (Strings{"AB1/1"}));
    EXPECT_FALSE(fw::InTransaction());
}

TEST_F(Integrity, AnUpdateAfterAnotherThreadsChangeIsRefusedAndShowsTheirVersion) {
    AddListing("AB1", 1, "Original");
    ReadListing("AB1", 1);
    {
        fw::ThreadContext other(2);
        fw::SetCurrentContext(&other);
        fw::OPEN(shell::SongBook(), fw::ReadWrite | fw::DenyNone);
        SBK.UnqDiskID = "AB1";
        SBK.DISKTRACKNO = 1;
        fw::GET(shell::SongBook(), shell::SongBook().FindKey("SBK:KUnqDiskID"));
        SBK.Title = "Theirs";
        fw::PUT(shell::SongBook());
        EXPECT_EQ(fw::ERRORCODE(), 0);
        fw::SetCurrentContext(nullptr);
    }
    SBK.Title = "Mine";
    EXPECT_EQ(shell::UpdateSongBookRecord(1), shell::integrity::ChangedByAnother);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Record Was Not Updated");
    EXPECT_EQ(SBK.Title.Str(), "Theirs");
    EXPECT_FALSE(fw::InTransaction());

    // The check is armed again: the next update goes through.
    SBK.Title = "Mine";
    EXPECT_EQ(shell::UpdateSongBookRecord(1), shell::integrity::Done);
    ReadListing("AB1", 1);
    EXPECT_EQ(SBK.Title.Str(), "Mine");
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(Integrity, AnUpdateThatFailsIsReportedAndChangesNothing) {
    AddListing("AB1", 1, "First");
    AddListing("AB1", 2, "Second");
    ReadListing("AB1", 2);
    SBK.DISKTRACKNO = 1;  // the unique disc-and-track key refuses it
    SBK.Title = "Clash";
    EXPECT_EQ(shell::UpdateSongBookRecord(1), shell::integrity::Failed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Update Operation Error");
    EXPECT_NE(messages.shown[0].text.find("Probable Cause: SongBook"), std::string::npos) << messages.shown[0].text;
    EXPECT_EQ(Listings(), (Strings{"AB1/1", "AB1/2"}));
    EXPECT_FALSE(fw::InTransaction());
}

TEST_F(Integrity, AWriterHoldingTheFileMakesTheTransactionFailWithWarning34) {
    AddListing("AB1", 1, "Original");
    ReadListing("AB1", 1);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((dir + "/Party.2bk").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    SBK.Title = "Mine";
    EXPECT_EQ(shell::UpdateSongBookRecord(1), shell::integrity::Failed);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Transaction Framing Error");
    EXPECT_NE(messages.shown[0].text.find("frame the update transaction on SongBook.  Update transaction cancelled."),
              std::string::npos)
        << messages.shown[0].text;
    ReadListing("AB1", 1);
    EXPECT_EQ(SBK.Title.Str(), "Original");
}

}  // namespace
