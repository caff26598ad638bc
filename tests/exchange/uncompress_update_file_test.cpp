// UncompressUpdateFile in its window, through the test driver.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <sstream>

#include "exchange/uncompress_update_file.h"
#include "exchange/update_file.h"
#include "platform/ui/message.h"
#include "platform/ui/testing/gtest_driver.h"

using namespace exchange;

namespace {

class UncompressTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    long Run(const std::string& source, const std::string& destination) {
        long result = -1;
        d.Start([&] { result = UncompressUpdateFile(source, destination); });
        EXPECT_FALSE(d.IsOpen("P1$UNCOMPRESSWINDOW"));
        return result;
    }
    QTemporaryDir dir;
    fw::testing::Driver d{fw::testing::GTestFailures()};
};

}  // namespace

TEST_F(UncompressTest, ThreeBlocksReplaceAnExistingFile) {
    std::string payload;
    for (int i = 0; i < 150000; ++i) payload += static_cast<char>('a' + i % 23);
    Write("MAIN.Z", MakeUpdateFile(payload));
    Write("MAIN.TPS.new", "an older file");
    EXPECT_EQ(Run(Path("MAIN.Z"), Path("MAIN.TPS.new")), 1);
    EXPECT_EQ(Read("MAIN.TPS.new"), payload);
    EXPECT_TRUE(d.Messages().empty());
}

TEST_F(UncompressTest, NamesAreCheckedFirst) {
    Write("MAIN.Z", MakeUpdateFile("x"));
    d.AnswerMessage("cannot have the same name as the compressed file", fw::Button::Ok);
    EXPECT_EQ(Run(Path("MAIN.Z"), Path("main.z")), 0);
    d.AnswerMessage("cannot have the same name as the compressed file", fw::Button::Ok);
    EXPECT_EQ(Run("", ""), 0);  // the same-name test comes first
    d.AnswerMessage("Both a Source File Name and a Destination File Name must be supplied", fw::Button::Ok);
    EXPECT_EQ(Run(Path("MAIN.Z"), ""), 0);
    d.AnswerMessage("Cannot open file! ", fw::Button::Cancel);
    EXPECT_EQ(Run(Path("NONE.Z"), Path("NONE.TPS")), 0);
    EXPECT_EQ(Read("main.z"), "");
}

TEST_F(UncompressTest, ADamagedBlockLeavesNoDestination) {
    std::string file = MakeUpdateFile(std::string(130000, 'q'), 61000);
    std::string second = file.substr(0, 35);
    BlockHeader h;
    ASSERT_TRUE(ParseBlockHeader(second, h));
    file[35 + h.compressed + 35 + 5] ^= 0x33;
    Write("BAD.Z", file);
    d.AnswerMessage("Input Data Corrupted", fw::Button::Ok);
    EXPECT_EQ(Run(Path("BAD.Z"), Path("BAD.TPS")), 0);
    EXPECT_FALSE(std::ifstream(Path("BAD.TPS")).good());
    // An empty file fails without a message.
    Write("EMPTY.Z", "");
    EXPECT_EQ(Run(Path("EMPTY.Z"), Path("EMPTY.TPS")), 0);
}
