// Extracting archives: base names, refused names, bad and damaged
// archives, and extraction through temporary files that replace nothing
// until committed.
#include "platform/os/archive/archive.h"

#include "archive_fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace archive_test;
using Files = std::map<std::string, std::string>;

class RestoreTest : public ArchiveTest {
public:
    fs::path Archive() const { return backup() / "Party.bkp"; }
};

TEST_F(RestoreTest, FullPathEntryRestoresBesideTheListings) {
    MakeZip(Archive(), {{"Party.2bk", "listings"}, {"C:\\Books\\Party.2bd", "discs"}});
    ASSERT_EQ(Restore(Archive(), restore()), 0) << fw::zGetLastErrorAsText();
    EXPECT_EQ(Snapshot(restore()), (Files{{"Party.2bk", "listings"}, {"Party.2bd", "discs"}}));
}

TEST_F(RestoreTest, LatestEntryOfOneBaseNameWinsAndFoldersAreSkipped) {
    // Archives of the earlier program could hold a file more than once.
    MakeZip(Archive(), {{"C:\\Books\\Party.2bd", "old discs"},
                        {"Party.2bk", "listings"},
                        {"Books/", ""},
                        {"D:/Other/PARTY.2BD", "new discs"}});
    ASSERT_EQ(fw::zOpenZipFile(Archive().string()), 0);
    std::vector<fw::ArchiveEntry> entries;
    ASSERT_EQ(fw::zListEntries(entries), 0);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, "C:\\Books\\Party.2bd");
    EXPECT_EQ(entries[0].baseName, "Party.2bd");
    EXPECT_TRUE(entries[0].superseded);
    EXPECT_FALSE(entries[1].superseded);
    EXPECT_TRUE(entries[2].folder);
    EXPECT_FALSE(entries[3].superseded);
    EXPECT_EQ(entries[3].size, 9u);

    ASSERT_EQ(fw::zExtractAll(restore().string(), "", 1, 0, 0, 0, 0), 0) << fw::zGetLastErrorAsText();
    EXPECT_EQ(Snapshot(restore()), (Files{{"Party.2bk", "listings"}, {"PARTY.2BD", "new discs"}}));
}

TEST_F(RestoreTest, RefusedNamesWriteNothingAnywhere) {
    for (const char* bad : {"../evil.2bk", "/etc/x", "\\\\server\\share\\evil.2bk", "Books/../../evil.2bk", "C:..\\evil.2bk"}) {
        SCOPED_TRACE(bad);
        fs::remove(Archive());
        MakeZip(Archive(), {{"Party.2bk", "listings"}, {bad, "evil"}});
        const bool etcBefore = fs::exists("/etc/x");
        const Files before = Snapshot(root());

        EXPECT_EQ(Restore(Archive(), restore()), fw::ArchiveBadName);
        EXPECT_NE(fw::zGetLastErrorAsText().find(bad), std::string::npos) << fw::zGetLastErrorAsText();
        // Chosen on its own, it is refused too.
        fw::StagedExtraction staged;
        EXPECT_EQ(fw::zStageEntries(restore().string(), {1}, staged), fw::ArchiveBadName);
        EXPECT_TRUE(staged.Files().empty());

        EXPECT_EQ(Snapshot(root()), before);
        EXPECT_EQ(fs::exists("/etc/x"), etcBefore);
    }
}

TEST_F(RestoreTest, BadArchivesGiveTheErrorTextAndChangeNothing) {
    MakeZip(root() / "good.zip", {{"Party.2bk", Binary(5000, 3)}}, "a comment");
    const std::string good = ReadFile(root() / "good.zip");
    WriteFile(restore() / "Party.2bk", "the book already here");
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> make;
        short status;
    } cases[] = {
        {"text file", [](const fs::path& p) { WriteFile(p, "this is not a zip archive\n"); }, fw::ArchiveNotZip},
        {"truncated", [&](const fs::path& p) { WriteFile(p, good.substr(0, good.size() / 2)); }, fw::ArchiveNotZip},
        {"end cut off", [&](const fs::path& p) { WriteFile(p, good.substr(0, good.size() - 5)); }, fw::ArchiveNotZip},
        {"empty", [](const fs::path& p) { WriteFile(p, ""); }, fw::ArchiveNotZip},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }, fw::ArchiveNotZip},
        {"missing", [](const fs::path&) {}, fw::ArchiveNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Archive());
        c.make(Archive());
        const Files before = Snapshot(root());

        EXPECT_EQ(Restore(Archive(), restore()), c.status);
        EXPECT_NE(fw::zGetLastErrorAsText().find(Archive().string()), std::string::npos) << fw::zGetLastErrorAsText();
        // A backup into it fails the same way and leaves it alone.
        WriteFile(books() / "Party.2bk", "listings");
        const Files withBook = Snapshot(root());
        if (c.status == fw::ArchiveNotZip) {
            EXPECT_EQ(Backup(Archive(), {{books() / "Party.2bk", "Party.2bk"}}, "comment"), c.status);
            EXPECT_EQ(Snapshot(root()), withBook);
        }
        fs::remove(books() / "Party.2bk");
        EXPECT_EQ(Snapshot(root()), before);
    }
}

TEST_F(RestoreTest, DamagedEntryLeavesTheFolderAsItWas) {
    const std::string discs = "DISCS-" + std::string(200, 'd');
    MakeZip(Archive(), {{"Party.2bk", "new listings"}, {"Party.2bd", discs, true}});
    std::string bytes = ReadFile(Archive());
    const size_t at = bytes.find(discs);
    ASSERT_NE(at, std::string::npos);
    bytes[at + 10] = 'X';  // the stored CRC no longer matches
    WriteFile(Archive(), bytes);
    WriteFile(restore() / "Party.2bk", "old listings");
    WriteFile(restore() / "Party.2bd", "old discs");
    const Files before = Snapshot(restore());

    EXPECT_EQ(Restore(Archive(), restore()), fw::ArchiveReadError);
    EXPECT_NE(fw::zGetLastErrorAsText().find("Party.2bd"), std::string::npos) << fw::zGetLastErrorAsText();
    EXPECT_EQ(Snapshot(restore()), before);
}

TEST_F(RestoreTest, SomethingInTheWayOrNoReplaceLeavesTheFolderAsItWas) {
    MakeZip(Archive(), {{"Party.2bk", "new listings"}, {"Party.2bd", "new discs"}});
    WriteFile(restore() / "Party.2bk", "old listings");
    {
        SCOPED_TRACE("a folder named like the discs file");
        fs::create_directory(restore() / "party.2BD");
        const Files before = Snapshot(restore());
        EXPECT_EQ(Restore(Archive(), restore()), fw::ArchiveExists);
        EXPECT_NE(fw::zGetLastErrorAsText().find("party.2BD"), std::string::npos) << fw::zGetLastErrorAsText();
        EXPECT_EQ(Snapshot(restore()), before);
        fs::remove(restore() / "party.2BD");
    }
    {
        SCOPED_TRACE("an existing file and no replacing");
        const Files before = Snapshot(restore());
        ASSERT_EQ(fw::zOpenZipFile(Archive().string()), 0);
        EXPECT_EQ(fw::zExtractAll(restore().string(), "", 0, 0, 0, 0, 0), fw::ArchiveExists);
        EXPECT_EQ(Snapshot(restore()), before);
    }
}

TEST_F(RestoreTest, ChosenEntriesWaitInTemporaryFilesUntilCommitted) {
    MakeZip(Archive(), {{"notes.txt", "not a book"}, {"C:\\Books\\Party.2bd", "new discs"}, {"Party.2bk", "new listings"}});
    WriteFile(restore() / "PARTY.2BK", "old listings");
    ASSERT_EQ(fw::zOpenZipFile(Archive().string()), 0);

    {
        fw::StagedExtraction staged;
        ASSERT_EQ(fw::zStageEntries(restore().string(), {2, 1}, staged), 0) << fw::zGetLastErrorAsText();
        ASSERT_EQ(staged.Files().size(), 2u);
        const fw::StagedFile& listings = staged.Files()[0];
        EXPECT_EQ(listings.entryName, "Party.2bk");
        // The book already there, in any letter case, is the one to replace.
        EXPECT_EQ(listings.finalPath, (restore() / "PARTY.2BK").string());
        EXPECT_EQ(fs::path(listings.tempPath).parent_path(), restore());
        EXPECT_EQ(ReadFile(listings.tempPath), "new listings");
        EXPECT_EQ(staged.Files()[1].finalPath, (restore() / "Party.2bd").string());
        EXPECT_EQ(ReadFile(restore() / "PARTY.2BK"), "old listings");
        EXPECT_FALSE(fs::exists(restore() / "Party.2bd"));

        EXPECT_EQ(staged.Commit(false), fw::ArchiveExists);
        EXPECT_EQ(Snapshot(restore()).size(), 3u);  // the old book and the two temporary files
        EXPECT_EQ(ReadFile(restore() / "PARTY.2BK"), "old listings");
    }
    // Left uncommitted, the temporary files are gone.
    EXPECT_EQ(Snapshot(restore()), (Files{{"PARTY.2BK", "old listings"}}));

    fw::StagedExtraction staged;
    ASSERT_EQ(fw::zStageEntries(restore().string(), {1, 2}, staged), 0) << fw::zGetLastErrorAsText();
    ASSERT_EQ(staged.Commit(true), 0) << fw::zGetLastErrorAsText();
    EXPECT_TRUE(staged.Files().empty());
    EXPECT_EQ(Snapshot(restore()), (Files{{"PARTY.2BK", "new listings"}, {"Party.2bd", "new discs"}}));
}

TEST_F(RestoreTest, FailedCommitPutsTheOldFilesBack) {
    MakeZip(Archive(), {{"Party.2bk", "new listings"}, {"Party.2bd", "new discs"}});
    WriteFile(restore() / "Party.2bk", "old listings");
    WriteFile(restore() / "Party.2bd", "old discs");
    ASSERT_EQ(fw::zOpenZipFile(Archive().string()), 0);
    {
        fw::StagedExtraction staged;
        ASSERT_EQ(fw::zStageEntries(restore().string(), {0, 1}, staged), 0) << fw::zGetLastErrorAsText();
        // The second file cannot be put in place once the first already is.
        fs::remove(staged.Files()[1].tempPath);
        EXPECT_EQ(staged.Commit(true), fw::ArchiveWriteError);
        EXPECT_NE(fw::zGetLastErrorAsText().find("Party.2bd"), std::string::npos) << fw::zGetLastErrorAsText();
    }
    EXPECT_EQ(Snapshot(restore()), (Files{{"Party.2bk", "old listings"}, {"Party.2bd", "old discs"}}));
}

TEST_F(RestoreTest, NamesStoredInWindows1252ByTheEarlierProgram) {
    // Stored as the bytes themselves, without the zip format's UTF-8 mark.
    MakeZip(Archive(), {{"Caf\xE9.2bk", "listings"}});
    ASSERT_EQ(fw::zOpenZipFile(Archive().string()), 0);
    std::vector<fw::ArchiveEntry> entries;
    ASSERT_EQ(fw::zListEntries(entries), 0);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "Caf\xE9.2bk");
    ASSERT_EQ(fw::zExtractAll(restore().string(), "", 1, 0, 0, 0, 0), 0) << fw::zGetLastErrorAsText();
    EXPECT_EQ(Snapshot(restore()), (Files{{"Caf\xC3\xA9.2bk", "listings"}}));
}

TEST_F(RestoreTest, StagingRefusesWhatCannotBeExtracted) {
    MakeZip(Archive(), {{"Party.2bk", "a"}, {"Old/PARTY.2BK", "b"}, {"Books/", ""}});
    ASSERT_EQ(fw::zOpenZipFile(Archive().string()), 0);
    const Files before = Snapshot(root());
    struct Case {
        const char* what;
        std::vector<std::int64_t> indexes;
        std::string folder;
    } cases[] = {
        {"two entries of one base name", {0, 1}, restore().string()},
        {"a folder entry", {2}, restore().string()},
        {"no such entry", {7}, restore().string()},
        {"no such folder", {0}, (root() / "nowhere").string()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fw::StagedExtraction staged;
        EXPECT_NE(fw::zStageEntries(c.folder, c.indexes, staged), 0);
        EXPECT_NE(fw::zGetLastErrorAsText(), "");
        EXPECT_TRUE(staged.Files().empty());
        EXPECT_EQ(Snapshot(root()), before);
    }
    ASSERT_EQ(fw::zCloseZipFile(), 0);
    fw::StagedExtraction staged;
    EXPECT_EQ(fw::zStageEntries(restore().string(), {0}, staged), fw::ArchiveNotOpen);
}

TEST_F(RestoreTest, ArchiveWithoutFilesIsNotARestore) {
    MakeZip(Archive(), {{"Books/", ""}});
    EXPECT_EQ(Restore(Archive(), restore()), fw::ArchiveNotFound);
    EXPECT_NE(fw::zGetLastErrorAsText(), "");
    EXPECT_TRUE(fs::is_empty(restore()));
}

}  // namespace
