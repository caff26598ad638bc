// The count and quick check of open files on a thread of their own: sound
// files pass and their count is kept for RECORDS; a damaged file is found,
// nothing is written to it, and a read that meets the damage meanwhile ends
// quietly, the check's owner saying what is wrong.
#include "data_test_support.h"

#include "platform/data/background_check.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using namespace datatest;

namespace {

class BackgroundCheckTest : public SongFileTest {
protected:
    void SetUp() override {
        SongFileTest::SetUp();
        if (HasFatalFailure()) return;
        fw::STREAM(*songs);
        for (int i = 0; i < 3000; ++i)
            AddSong(*songs, ("Song number " + std::to_string(i * 7919 % 3000)).c_str(), "D1", i + 1, i);
        fw::FLUSH(*songs);
        ASSERT_EQ(fw::ERRORCODE(), 0);
    }
    // Overwrites most of every other page of the file's second half (its
    // schema and layout stay readable), so reading all records meets it.
    void Damage() {
        fw::CLOSE(*songs);
        std::string bytes;
        {
            std::ifstream in(name->name, std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
        ASSERT_GT(bytes.size(), 16u * 4096);
        for (std::size_t page = (bytes.size() / 4096 / 2) * 4096; page + 4096 <= bytes.size(); page += 2 * 4096)
            bytes.replace(page + 8, 4000, std::string(4000, '\x5A'));
        std::ofstream(name->name, std::ios::binary | std::ios::trunc) << bytes;
        fw::OPEN(*songs, fw::ReadWrite | fw::DenyNone);
        ASSERT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    }
    std::string Bytes() const {
        std::ifstream in(name->name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

};

TEST_F(BackgroundCheckTest, ASoundFilePassesAndItsCountIsKept) {
    fw::BackgroundCheck check({songs.get()});
    EXPECT_EQ(check.Result(), "");
    EXPECT_TRUE(check.Done());
    EXPECT_TRUE(check.Counted());
    EXPECT_EQ(fw::RECORDS(*songs), 3000);
    // A write after the check has ended goes through.
    AddSong(*songs, "After", "D2", 1);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::RECORDS(*songs), 3001);
}

TEST_F(BackgroundCheckTest, AWriteWhileTheCheckRunsWaitsForItAndTheCountStaysTrue) {
    fw::BackgroundCheck check({songs.get()});
    AddSong(*songs, "Meanwhile", "D2", 1);  // waits for the check, which passes
    EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
    EXPECT_TRUE(check.Done());
    EXPECT_EQ(check.Result(), "");
    EXPECT_EQ(fw::RECORDS(*songs), 3001);  // the check's count came before the add
}

TEST_F(BackgroundCheckTest, ADamagedFileIsFoundNotWrittenToAndReadsEndQuietly) {
    Damage();
    const std::string before = Bytes();
    {
        fw::BackgroundCheck check({songs.get()});
        // Reading through the file meets the damage: the reading ends, no error.
        fw::SET(*songs);
        long read = 0;
        while (fw::NEXT(*songs), fw::ERRORCODE() == 0) ++read;
        EXPECT_EQ(fw::ERRORCODE(), fw::RecordNotAvailable) << fw::ERROR();
        EXPECT_LT(read, 3000);
        // A write is refused.
        AddSong(*songs, "Never", "D9", 1);
        EXPECT_NE(fw::ERRORCODE(), 0);
        const std::string problem = check.Result();
        EXPECT_NE(problem, "");
        EXPECT_NE(problem.find(name->name), std::string::npos) << problem;
    }
    EXPECT_EQ(Bytes(), before) << "nothing written";
    // Without a check the damage is an error again.
    fw::SET(*songs);
    while (fw::NEXT(*songs), fw::ERRORCODE() == 0) {}
    EXPECT_EQ(fw::ERRORCODE(), fw::FileSystemErr);
}

// A check made to start later guards the file from the start: a write
// starts it and waits for it, and is refused when it finds damage.
TEST_F(BackgroundCheckTest, ACheckStartedLaterIsInForceAtOnce) {
    {
        fw::BackgroundCheck check({songs.get()}, fw::BackgroundCheck::Begin::Later);
        EXPECT_FALSE(check.Done());
        AddSong(*songs, "Meanwhile", "D2", 1);
        EXPECT_EQ(fw::ERRORCODE(), 0) << fw::ERROR();
        EXPECT_TRUE(check.Done());
        EXPECT_EQ(check.Result(), "");
    }
    Damage();
    const std::string before = Bytes();
    {
        fw::BackgroundCheck check({songs.get()}, fw::BackgroundCheck::Begin::Later);
        AddSong(*songs, "Never", "D9", 1);
        EXPECT_NE(fw::ERRORCODE(), 0);
        EXPECT_NE(check.Result(), "");
    }
    EXPECT_EQ(Bytes(), before) << "nothing written";
    // One never started ends quietly.
    { fw::BackgroundCheck check({songs.get()}, fw::BackgroundCheck::Begin::Later); }
}

TEST_F(BackgroundCheckTest, ACheckStillRunningIsStoppedWhenItGoes) {
    for (int i = 0; i < 20; ++i) {
        fw::BackgroundCheck check({songs.get()});
    }
    AddSong(*songs, "After", "D2", 1);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::RECORDS(*songs), 3001);
}

}  // namespace
