// Reads under one read transaction: they find what they find without it,
// nested or inside a write transaction they change nothing, and when it
// ends no lock is left behind for another process's writer.
#include "data_test_support.h"

#include "platform/data/read_together.h"
#include "platform/data/transaction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace datatest;

namespace {

class ReadTogetherTest : public SongFileTest {
protected:
    void SetUp() override {
        SongFileTest::SetUp();
        if (HasFatalFailure()) return;
        for (int i = 1; i <= 20; ++i) AddSong(*songs, ("Song " + std::to_string(i)).c_str(), "D1", i);
    }
    // Every title by a GET on each disc and track.
    std::vector<std::string> Titles() {
        std::vector<std::string> out;
        for (int i = 1; i <= 20; ++i) {
            Buf(*songs).Disc = "D1";
            Buf(*songs).Track = static_cast<std::uint16_t>(i);
            fw::GET(*songs, songs->FindKey("KDISC"));
            out.push_back(fw::ERRORCODE() == 0 ? Buf(*songs).Title.Str() : "?");
        }
        return out;
    }

};

TEST_F(ReadTogetherTest, ReadsFindTheSameAndLeaveNoLock) {
    const std::vector<std::string> plain = Titles();
    {
        fw::ReadTogether together({songs.get()});
        EXPECT_EQ(Titles(), plain);
        {
            fw::ReadTogether nested({songs.get(), songs.get()});
            EXPECT_EQ(Titles(), plain);
        }
        EXPECT_EQ(Titles(), plain);
    }
    // Another process writes at once: nothing is held any more.
    const std::string path = name->name;
    Child writer([&](Child&) {
        auto other = MakeSongFile(std::make_shared<Named>(Named{path}));
        fw::OPEN(*other, fw::ReadWrite | fw::DenyNone);
        AddSong(*other, "Elsewhere", "E1", 1);
        return fw::ERRORCODE() == 0 ? 'y' : 'n';
    });
    EXPECT_EQ(writer.Receive(), 'y');
    EXPECT_EQ(fw::RECORDS(*songs), 21);
}

TEST_F(ReadTogetherTest, InsideAWriteTransactionItLeavesTheTransactionAlone) {
    fw::LOGOUT(1, *songs);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    AddSong(*songs, "Inside", "D2", 1);
    {
        fw::ReadTogether together({songs.get()});
        EXPECT_EQ(Titles().size(), 20u);
    }
    fw::ROLLBACK();
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::RECORDS(*songs), 20);
}

}  // namespace
