#pragma once
// A song book in a temporary folder, opened on the data layer for the
// current thread, with the checked-open driver plugged in and message boxes
// answered from a script. Shared by the integrity and record-form tests.

#include "scripted_messages.h"

#include "shell/checked_open.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_thread_state.h"
#include "shell/data_files.h"

#include "platform/data/file_ops.h"
#include "platform/data/transaction.h"
#include "platform/runtime/error_state.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "shell/data_dictionary_prefixes.h"

namespace integritytest {

// The checked-open driver on the data layer, as the program plugs it in.
class DataLayerDriver : public shell::CheckedFileDriver {
public:
    void Open(const shell::FileEntry& f) override { fw::OPEN(shell::DataFile(f), fw::ReadWrite | fw::DenyNone); }
    void Recover(const shell::FileEntry& f) override { fw::SEND(shell::DataFile(f), "Recover=10"); }
    void Create(const shell::FileEntry& f) override { fw::CREATE(shell::DataFile(f)); }
    void Build(const shell::FileEntry& f) override { fw::BUILD(shell::DataFile(f)); }
    void Close(const shell::FileEntry& f) override { fw::CLOSE(shell::DataFile(f)); }
};

class SongBookFixture : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/cv_integrity_XXXXXX";
        dir = mkdtemp(tmpl);
        shell::SongBookName = dir + "/Party.2bk";
        shell::SBDiscsName = dir + "/Party.2bd";
        shell::SetCheckedFileDriver(&driver);
        for (fw::File* f : {&shell::SongBook(), &shell::SBDiscs()}) {
            fw::CREATE(*f);
            ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        }
        // The caller (a browse) holds both files open by the use counters.
        bookUse = std::make_unique<shell::FileUse>(shell::SongBookFile());
        discsUse = std::make_unique<shell::FileUse>(shell::SBDiscsFile());
    }
    void TearDown() override {
        if (fw::InTransaction()) fw::ROLLBACK();
        bookUse.reset();
        discsUse.reset();
        shell::SetCheckedFileDriver(nullptr);
        std::filesystem::remove_all(dir);
    }

    static void AddListing(const std::string& disc, unsigned track, const std::string& title = "Song") {
        fw::ClearRecord(&SBK, *shell::SongBookFile().record);
        SBK.Title = title;
        SBK.Artist = "Artist";
        SBK.UnqDiskID = disc;
        SBK.DISKTRACKNO = track;
        fw::ADD(shell::SongBook());
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    static void AddDisc(const std::string& disc) {
        fw::ClearRecord(&SBD, *shell::SBDiscsFile().record);
        SBD.UNQDISKID = disc;
        fw::ADD(shell::SBDiscs());
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    // Reads the disc into SBD, as a browse does before a command.
    static void ReadDisc(const std::string& disc) {
        SBD.UNQDISKID = disc;
        fw::GET(shell::SBDiscs(), shell::SBDiscs().FindKey("SBD:KUNQDISKID"));
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    // Reads a listing into SBK with WATCH armed.
    static void ReadListing(const std::string& disc, unsigned track) {
        SBK.UnqDiskID = disc;
        SBK.DISKTRACKNO = track;
        fw::WATCH(shell::SongBook());
        fw::GET(shell::SongBook(), shell::SongBook().FindKey("SBK:KUnqDiskID"));
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    // The disc IDs and tracks of every listing, in disc order.
    static std::vector<std::string> Listings() {
        std::vector<std::string> out;
        fw::SET(shell::SongBook().FindKey("SBK:KUnqDiskID"));
        while (fw::NEXT(shell::SongBook()), fw::ERRORCODE() == 0)
            out.push_back(SBK.UnqDiskID.Str() + "/" + std::to_string(SBK.DISKTRACKNO));
        return out;
    }
    static long Discs() { return fw::RECORDS(shell::SBDiscs()); }

    // Runs SQL on the book's listings file through a connection of its own.
    void BookSql(const std::string& sql) const {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((dir + "/Party.2bk").c_str(), &db), SQLITE_OK);
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
    }

    std::string dir;
    DataLayerDriver driver;
    ScriptedMessages messages;
    std::unique_ptr<shell::FileUse> bookUse;
    std::unique_ptr<shell::FileUse> discsUse;
};

}  // namespace integritytest
