#include "data_test_support.h"

#include "platform/data/file_ops.h"
#include "platform/runtime/thread_context.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <vector>

using namespace datatest;

namespace {

class FileOps : public SongFileTest {
protected:
    // Titles read by NEXT (or PREVIOUS) to the end.
    std::vector<std::string> ReadAll(bool forward = true) {
        std::vector<std::string> out;
        for (;;) {
            forward ? fw::NEXT(*songs) : fw::PREVIOUS(*songs);
            if (fw::ERRORCODE() != 0) break;
            out.push_back(Buf(*songs).Title.Str());
        }
        EXPECT_EQ(fw::ERRORCODE(), fw::RecordNotAvailable);
        return out;
    }
    fw::Key K(const char* n) { return songs->FindKey(n); }
};

using Titles = std::vector<std::string>;

TEST_F(FileOps, KeyOrderIsCaseInsensitiveAndSkipsBlankOptionalKeys) {
    AddSong(*songs, "delta", "D1", 1, 10);
    AddSong(*songs, "Alpha", "A1", 1, 0);  // no date: not in KADDED
    AddSong(*songs, "", "B1", 1, 30);      // no title: not in KTITLE
    AddSong(*songs, "charlie", "C1", 2, 20);
    AddSong(*songs, "BRAVO", "C1", 1, 20);

    fw::SET(K("SNG:KTITLE"));
    EXPECT_EQ(ReadAll(), (Titles{"Alpha", "BRAVO", "charlie", "delta"}));
    fw::SET(K("KTITLE"));
    EXPECT_EQ(ReadAll(false), (Titles{"delta", "charlie", "BRAVO", "Alpha"}));
    // Equal dates come in insertion order.
    fw::SET(K("sng.kadded"));
    EXPECT_EQ(ReadAll(), (Titles{"delta", "charlie", "BRAVO", ""}));
    fw::SET(*songs);
    EXPECT_EQ(ReadAll(), (Titles{"delta", "Alpha", "", "charlie", "BRAVO"}));
    EXPECT_EQ(fw::RECORDS(*songs), 5);
}

TEST_F(FileOps, UniqueKeysCollideIgnoringCaseOnAddAndPut) {
    AddSong(*songs, "One", "ab1", 1);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    AddSong(*songs, "Two", "AB1", 1);
    EXPECT_EQ(fw::ERRORCODE(), fw::DupKeyErr);
    EXPECT_EQ(fw::ERROR(), "Creates Duplicate Key");
    AddSong(*songs, "Two", "AB1", 2);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    // Blank key fields are not in the unique key: any number of them.
    AddSong(*songs, "Blank1", "", 0);
    AddSong(*songs, "Blank2", "", 0);
    EXPECT_EQ(fw::ERRORCODE(), 0);

    Buf(*songs).Disc = "Ab1 ";
    Buf(*songs).Track = 2;
    fw::GET(*songs, K("KDISC"));
    ASSERT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(Buf(*songs).Title.Str(), "Two");
    Buf(*songs).Track = 1;
    EXPECT_TRUE(fw::DUPLICATE(K("KDISC")));
    fw::PUT(*songs);
    EXPECT_EQ(fw::ERRORCODE(), fw::DupKeyErr);
    Buf(*songs).Track = 3;
    EXPECT_FALSE(fw::DUPLICATE(*songs));
    fw::PUT(*songs);
    EXPECT_EQ(fw::ERRORCODE(), 0);
}

TEST_F(FileOps, GetByKeyIsExactOnAllComponentsIgnoringCase) {
    AddSong(*songs, "Moon River", "SC8123", 4);
    struct Case {
        const char* disc;
        int track;
        int error;
    } cases[] = {{"sc8123", 4, 0}, {"SC8123   ", 4, 0}, {"SC812", 4, fw::BadRecErr}, {"SC8123", 5, fw::BadRecErr},
                 {"", 0, fw::BadRecErr}};
    for (const auto& c : cases) {
        fw::ClearRecord(&Buf(*songs), SongDecl());
        Buf(*songs).Disc = c.disc;
        Buf(*songs).Track = static_cast<std::uint16_t>(c.track);
        fw::GET(*songs, K("KDISC"));
        EXPECT_EQ(fw::ERRORCODE(), c.error) << c.disc << " " << c.track;
        if (c.error == 0) {
            EXPECT_EQ(Buf(*songs).Title.Str(), "Moon River");
        }
    }
    // GET(file, 0) leaves no current record: PUT and DELETE have nothing to act on.
    fw::GET(*songs, 0L);
    fw::PUT(*songs);
    EXPECT_EQ(fw::ERRORCODE(), fw::RecordNotAvailable);
    fw::DELETE(*songs);
    EXPECT_EQ(fw::ERRORCODE(), fw::RecordNotAvailable);
}

TEST_F(FileOps, SetFromKeyValuesStartsAtFirstNotLessOrLastNotAbove) {
    for (int t : {1, 2, 3}) AddSong(*songs, ("A" + std::to_string(t)).c_str(), "AA", t);
    for (int t : {1, 2}) AddSong(*songs, ("B" + std::to_string(t)).c_str(), "BB", t);
    fw::ClearRecord(&Buf(*songs), SongDecl());
    Buf(*songs).Disc = "aa";
    Buf(*songs).Track = 2;
    fw::SET(K("KDISC"), K("KDISC"));
    EXPECT_EQ(ReadAll(), (Titles{"A2", "A3", "B1", "B2"}));
    Buf(*songs).Disc = "BB";
    Buf(*songs).Track = 0;
    fw::SET(K("KDISC"), K("KDISC"));
    EXPECT_EQ(ReadAll(false), (Titles{"A3", "A2", "A1"}));
    // Lowest value of a component: the start of a disc's range.
    Buf(*songs).Disc = "BB";
    fw::ClearFieldLow(&Buf(*songs), SongDecl().fields[2]);
    fw::SET(K("KDISC"), K("KDISC"));
    EXPECT_EQ(ReadAll(), (Titles{"B1", "B2"}));
}

TEST_F(FileOps, PositionsSurviveNeighboursBeingDeleted) {
    for (const char* t : {"a", "b", "c", "d", "e"}) AddSong(*songs, t, t, 1);
    fw::SET(K("KTITLE"));
    fw::NEXT(*songs);
    fw::NEXT(*songs);
    fw::NEXT(*songs);
    ASSERT_EQ(Buf(*songs).Title.Str(), "c");
    const std::string atC = fw::POSITION(K("KTITLE"));
    const std::string recordC = fw::POSITION(*songs);

    // RESET then NEXT or PREVIOUS lands on the record itself ...
    fw::RESET(K("KTITLE"), atC);
    EXPECT_EQ(ReadAll(), (Titles{"c", "d", "e"}));
    fw::RESET(K("KTITLE"), atC);
    EXPECT_EQ(ReadAll(false), (Titles{"c", "b", "a"}));

    // ... and, once it and its neighbours are gone, on the nearest one left.
    for (const char* t : {"b", "c", "d"}) {
        Buf(*songs).Title = t;
        Buf(*songs).Disc = t;
        Buf(*songs).Track = 1;
        fw::GET(*songs, K("KDISC"));
        fw::DELETE(*songs);
        ASSERT_EQ(fw::ERRORCODE(), 0);
    }
    fw::RESET(K("KTITLE"), atC + std::string(40, ' '));  // as kept in a STRING(512)
    EXPECT_EQ(ReadAll(), (Titles{"e"}));
    fw::RESET(K("KTITLE"), atC);
    EXPECT_EQ(ReadAll(false), (Titles{"a"}));
    fw::REGET(*songs, recordC);
    EXPECT_EQ(fw::ERRORCODE(), fw::BadRecErr);
}

TEST_F(FileOps, DeletingWhileScanningContinuesWithTheNextRecord) {
    for (int t = 1; t <= 40; ++t) AddSong(*songs, "x", "D", t);
    fw::SET(K("KDISC"));
    int seen = 0;
    for (;;) {
        fw::NEXT(*songs);
        if (fw::ERRORCODE()) break;
        ++seen;
        EXPECT_EQ(Buf(*songs).Track, seen);
        if (seen % 2) fw::DELETE(*songs);
    }
    EXPECT_EQ(seen, 40);
    EXPECT_EQ(fw::RECORDS(*songs), 20);
}

TEST_F(FileOps, RegetPutAndWatchWithinOneProcess) {
    AddSong(*songs, "Song", "D", 1);
    fw::SET(K("KDISC"));
    fw::NEXT(*songs);
    const std::string pos = fw::POSITION(K("KDISC"));

    // Another thread of the program changes the record after this one's WATCHed read.
    fw::WATCH(*songs);
    fw::REGET(K("KDISC"), pos);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    {
        fw::ThreadContext other(2);
        fw::SetCurrentContext(&other);
        fw::OPEN(*songs, fw::ReadWrite | fw::DenyNone);
        ASSERT_EQ(fw::ERRORCODE(), 0);
        fw::REGET(*songs, pos);
        Buf(*songs).Title = "Theirs";
        fw::PUT(*songs);
        EXPECT_EQ(fw::ERRORCODE(), 0);
        fw::SetCurrentContext(nullptr);
    }
    EXPECT_EQ(Buf(*songs).Title.Str(), "Song");  // own buffer untouched
    Buf(*songs).Title = "Mine";
    fw::PUT(*songs);
    EXPECT_EQ(fw::ERRORCODE(), fw::RecordChangedErr);
    EXPECT_EQ(fw::ERROR(), "Record Changed By Another Station");
    // WATCH and REGET show the other version; the next PUT is checked against it.
    fw::WATCH(*songs);
    fw::REGET(*songs, pos);
    EXPECT_EQ(Buf(*songs).Title.Str(), "Theirs");
    Buf(*songs).Title = "Mine";
    fw::PUT(*songs);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    // An unwatched PUT is not checked.
    fw::REGET(*songs, pos);
    Buf(*songs).Title = "Again";
    fw::PUT(*songs);
    EXPECT_EQ(fw::ERRORCODE(), 0);
}

TEST_F(FileOps, ThreadsHaveTheirOwnBuffersAndSequences) {
    AddSong(*songs, "A", "A", 1);
    AddSong(*songs, "B", "B", 1);
    fw::SET(K("KTITLE"));
    fw::NEXT(*songs);
    fw::ThreadContext other(2);
    fw::SetCurrentContext(&other);
    EXPECT_FALSE(fw::IsOpen(*songs));
    EXPECT_TRUE(Buf(*songs).Title.Blank());
    fw::OPEN(*songs);
    fw::SET(K("KTITLE"));
    fw::PREVIOUS(*songs);
    EXPECT_EQ(Buf(*songs).Title.Str(), "B");
    fw::SetCurrentContext(nullptr);
    EXPECT_EQ(Buf(*songs).Title.Str(), "A");
    fw::NEXT(*songs);
    EXPECT_EQ(Buf(*songs).Title.Str(), "B");
}

TEST_F(FileOps, OpenCloseNameBytesAndAccessModes) {
    fw::OPEN(*songs);
    EXPECT_EQ(fw::ERRORCODE(), fw::IsOpenErr);
    EXPECT_EQ(fw::ERROR(), "File Already Open");
    EXPECT_EQ(fw::NAME(*songs), name->name);
    EXPECT_GT(fw::BYTES(*songs), 0);
    AddSong(*songs, "A", "A", 1);
    fw::SET(*songs);
    fw::NEXT(*songs);
    EXPECT_EQ(fw::BYTES(*songs), 20 + 10 + 2 + 4);
    fw::CLOSE(*songs);
    fw::CLOSE(*songs);  // harmless
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::NEXT(*songs);
    EXPECT_EQ(fw::ERRORCODE(), fw::NotOpenErr);

    fw::OPEN(*songs, fw::ReadOnly | fw::DenyNone);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    AddSong(*songs, "B", "B", 1);
    EXPECT_EQ(fw::ERRORCODE(), fw::NoAccessErr);
    fw::CLOSE(*songs);

    // The name is found whatever its case on disk.
    name->name = dir / "songs.dat";
    fw::OPEN(*songs);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::RECORDS(*songs), 1);
}

TEST_F(FileOps, StreamBatchesWritesUntilFlush) {
    fw::STREAM(*songs);
    for (int t = 1; t <= 100; ++t) AddSong(*songs, "S", "D", t);
    EXPECT_EQ(fw::RECORDS(*songs), 100);
    fw::FLUSH(*songs);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::CLOSE(*songs);
    fw::OPEN(*songs);
    EXPECT_EQ(fw::RECORDS(*songs), 100);
}

TEST_F(FileOps, SendTakesTheDriverStrings) {
    EXPECT_EQ(fw::SEND(*songs, "QUICKSCAN=on"), "");
    for (int t = 1; t <= 300; ++t) AddSong(*songs, "S", "D", t);
    fw::SET(K("KDISC"));
    int n = 0;
    while (fw::NEXT(*songs), fw::ERRORCODE() == 0) ++n;
    EXPECT_EQ(n, 300);
    EXPECT_EQ(fw::SEND(*songs, "Recover=10"), "");
    EXPECT_EQ(fw::ERRORCODE(), 0);
}

}  // namespace
