// The instruction list's reader and checks, and the version comparison.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

#include "exchange/instruction_list.h"

using namespace exchange;

namespace {

InstructionList Read(const std::string& text) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/autoupdate.lst";
    std::ofstream(path, std::ios::binary) << text;
    InstructionList list = ReadInstructionList(path);
    CheckInstructionList(list);
    return list;
}

}  // namespace

TEST(InstructionList, AGoodListReadsWithTheProgramsSpelling) {
    InstructionList list = Read(
        "\"DATA\",\"251234\",\"main.tps\",\"MAIN.Z\",1234567\r\n"
        "\"DATA\",\"\",\"DISCS.TPS\",\"DISCS.Z\",45678\r\n"
        "\"PGM\",\"2.6.2300\",\"DIDAZAVUZEZ2O.EXE\",\"DIDAZAVUZEZ2O.PGM\",2345678\r\n");
    ASSERT_EQ(list.problem, "");
    ASSERT_EQ(list.records.size(), 3u);
    EXPECT_EQ(list.records[0].oldFile, "MAIN.TPS");
    EXPECT_EQ(list.records[0].version, "251234");
    EXPECT_EQ(list.records[0].size, 1234567u);
    EXPECT_FALSE(list.records[1].program);
    EXPECT_TRUE(list.records[2].program);
    EXPECT_EQ(list.records[2].oldFile, "DIDAZAVUZEZ2O.EXE");
}

TEST(InstructionList, FaultsAreNamed) {
    struct Case {
        const char* list;
        const char* problem;
    } cases[] = {
        {"\"DATA\",\"1\",\"MAIN.TPS\",\"a/b\",1\n", "not a plain file name"},
        {"\"DATA\",\"1\",\"MAIN.TPS\",\"MAIN.Z\",1\n\"DATA\",\"\",\"DISCS.TPS\",\"MAIN.Z\",1\n", "named twice"},
        {"\"DATA\",\"1\",\"MAIN.TPS\",\"DISCS.BAK\",1\n", "a name the program keeps for itself"},
        {"\"DATA\",\"1\",\"MAIN.TPS\",\"MAIN.Z\",1\n\"DATA\",\"\",\"DISCS.TPS\",\"main.tps\",1\n",
         "would overwrite one of the program's files"},
        {"\"DATA\",\"one\",\"MAIN.TPS\",\"MAIN.Z\",1\n", "is not a number"},
        {"\"DATA\",\"1\",\"MAIN.TPS\",\"MAIN.Z\",9999999999\n", "Read error"},
        {"\"DATA\",\"1\",\"MAIN.TPS\"\n", "Read error"},
    };
    for (const Case& k : cases) {
        InstructionList list = Read(k.list);
        EXPECT_NE(list.problem.find(k.problem), std::string::npos) << k.list << " -> " << list.problem;
    }
}

TEST(InstructionList, VersionsCompareAsNumbers) {
    EXPECT_TRUE(IsNewerVersion("2.6.2300", "2.6.2232"));
    EXPECT_TRUE(IsNewerVersion("2.10", "2.9.9"));
    EXPECT_TRUE(IsNewerVersion("3", "2.6.2232"));
    EXPECT_FALSE(IsNewerVersion("2.6.2232", "2.6.2232"));
    EXPECT_FALSE(IsNewerVersion("2.6.2232.0", "2.6.2232"));
    EXPECT_FALSE(IsNewerVersion("2.6.2100", "2.6.2232"));
    EXPECT_FALSE(IsNewerVersion("2.6.x", "2.6.2232"));
    EXPECT_FALSE(IsNewerVersion("", "1"));
    EXPECT_FALSE(IsNewerVersion("2..3", "1"));
}
