#include "shell/data_files.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/error_state.h"
#include "shell/data_dictionary_globals.h"
#include "shell/data_dictionary_prefixes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

TEST(DataFilesByLabel, SongBookFileWritesTheThreadsBufferAndHonoursItsUniqueKey) {
    char tmpl[] = "/tmp/cv_data_files_XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    shell::SongBookName = dir + "/Party.2bk";

    fw::File& book = shell::SongBook();
    fw::CREATE(book);
    ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    fw::OPEN(book, fw::ReadWrite | fw::DenyNone);
    ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();

    fw::ClearRecord(&SBK, *shell::SongBookFile().record);
    SBK.Title = "Danny Boy";
    SBK.UnqDiskID = "ab1";
    SBK.DISKTRACKNO = 3;
    fw::ADD(book);
    EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    SBK.Title = "Other";
    SBK.UnqDiskID = "AB1";  // the same disc and track in another case
    fw::ADD(book);
    EXPECT_EQ(fw::ERRORCODE(), fw::DupKeyErr);
    EXPECT_EQ(fw::RECORDS(book), 1);

    fw::SET(book.FindKey("SBK:KTITLE"));
    fw::NEXT(book);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(SBK.Title.Clip(), "Danny Boy");
    fw::CLOSE(book);
    std::filesystem::remove_all(dir);
}

}  // namespace
