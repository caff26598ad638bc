// The TopSpeed reader over files the fixture writer makes: field decoding,
// several tables, page trees, stale pages, definitions in parts, memos and
// non-ASCII text.

#include "platform/data/tps/tps_file.h"
#include "platform/text/codepage.h"
#include "platform/text/dates.h"
#include "tests/platform/data/tps/tps_fixtures.h"
#include "tests/platform/data/tps/tps_read_all.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using namespace tps_fixture;
using fw::tps::Table;
using fw::tps::TpsFile;
using fw::tps::Value;
using ::testing::HasSubstr;

const Table& Only(const TpsFile& f) {
    EXPECT_EQ(f.Tables().size(), 1u);
    return f.Tables().front();
}

std::string Shown(const Table& t, std::size_t row, const char* field, std::size_t element = 0) {
    const int i = t.FindField(field);
    EXPECT_GE(i, 0) << field;
    if (i < 0) return "<no field>";
    return fw::tps::DisplayText(t.definition.fields[i], t.Get(row, i, element));
}

TEST(TpsReader, DecodesEveryFieldTypeAtItsOffset) {
    const TpsFile file = TpsFile::Parse(Write({AllTypesTable()}));
    const Table& t = Only(file);
    EXPECT_EQ(t.name, "ALLTYPES");
    ASSERT_EQ(t.RowCount(), 2u);
    EXPECT_TRUE(file.Warnings().empty());

    struct Expect {
        std::size_t row;
        const char* field;
        std::size_t element;
        std::string shown;
    };
    const std::vector<Expect> cases = {
        {0, "BYTE", 0, "200"},           {0, "SHORT", 0, "-5"},           {0, "USHORT", 0, "65535"},
        {0, "LONG", 0, "-100000"},       {0, "ULONG", 0, "4000000000"},   {0, "DATE", 0, "2024-02-29"},
        {0, "TIME", 0, "23:59:58.99"},   {0, "SREAL", 0, "1.5"},          {0, "REAL", 0, "-2.25"},
        {0, "DECIMAL", 0, "123.45"},     {0, "STRING", 0, "Padded"},      {0, "CSTRING", 0, "abc"},
        {0, "PSTRING", 0, "hey"},        {0, "GROUP", 0, "47422c000000"}, {0, "G_CODE", 0, "GB"},
        {0, "G_NUMBER", 0, "44"},        {0, "LONGS", 0, "1"},            {0, "LONGS", 1, "2"},
        {0, "LONGS", 2, "-1"},           {0, "NAMES", 0, "ab"},           {0, "NAMES", 1, "cdef"},
        {0, "OVERLAY", 0, "65535"},      {0, "ODD", 0, "010203"},
        {1, "BYTE", 0, "0"},             {1, "SHORT", 0, "-32768"},       {1, "LONG", 0, "-2147483648"},
        {1, "ULONG", 0, "4294967295"},   {1, "DATE", 0, ""},              {1, "TIME", 0, "00:00:00.01"},
        {1, "DECIMAL", 0, "-0.05"},      {1, "STRING", 0, ""},            {1, "CSTRING", 0, "12345678"},
        {1, "PSTRING", 0, "seven!!"},
    };
    for (const auto& c : cases) EXPECT_EQ(Shown(t, c.row, c.field, c.element), c.shown) << c.row << " " << c.field;

    // Values as the program takes them: day numbers, hundredths + 1, padded texts.
    EXPECT_EQ(t.Get(0, t.FindField("DATE")).integer, 81512);
    EXPECT_EQ(t.Get(0, t.FindField("TIME")).integer, 8639900);
    EXPECT_EQ(t.Get(1, t.FindField("TIME")).integer, 2);
    EXPECT_EQ(t.Get(0, t.FindField("STRING")).text, "Padded    ");
    EXPECT_DOUBLE_EQ(t.Get(0, t.FindField("DECIMAL")).real, 123.45);
    EXPECT_EQ(t.Get(0, t.FindField("ALL:LONG")).integer, -100000);
    EXPECT_EQ(t.FindField("all:nothing"), -1);
    EXPECT_EQ(t.definition.fields[t.FindField("PSTRING")].picture, "@s7");
    ASSERT_EQ(t.definition.keys.size(), 2u);
    EXPECT_EQ(t.definition.keys[1].name, "ALL:KSHORT");
}

// An arrayed group repeats its members: LINE[3] of (CODE, NUMBER, PARTS[2]
// of (SIZE, TAGS[2])); each member's elements are counted through every
// group around it, its own elements fastest.
TEST(TpsReader, ReachesEveryElementOfAnArrayedGroup) {
    TablePlan t;
    t.name = "LINES";
    t.recordLength = 3 * 18 + 2;
    t.fields = {
        {GROUP, "LIN:LINE", 0, 54, 3},   {STRING, "LIN:CODE", 0, 2},   {LONG, "LIN:NUMBER", 2, 4},
        {GROUP, "LIN:PARTS", 6, 12, 2},  {SHORT, "LIN:SIZE", 6, 2},   {BYTE, "LIN:TAGS", 8, 2, 2},
        {STRING, "LIN:AFTER", 54, 2},
    };
    Row r(t.recordLength);
    for (int line = 0; line < 3; ++line) {
        const std::size_t at = std::size_t(line) * 18;
        r.Text(at, 2, std::string(1, char('A' + line)) + "x").Le32(at + 2, std::uint32_t(100 + line));
        for (int part = 0; part < 2; ++part) {
            const std::size_t p = at + 6 + std::size_t(part) * 6;
            r.Le16(p, std::uint32_t(10 * line + part)).U8(p + 2, std::uint8_t(line * 4 + part * 2)).U8(p + 3, std::uint8_t(line * 4 + part * 2 + 1));
        }
    }
    r.Text(54, 2, "ZZ");
    t.rows = {{1, r}};
    const TpsFile file = TpsFile::Parse(Write({t}));
    const Table& read = Only(file);
    const auto& fields = read.definition.fields;
    EXPECT_EQ(fields[read.FindField("CODE")].ElementCount(), 3u);
    EXPECT_EQ(fields[read.FindField("SIZE")].ElementCount(), 6u);
    EXPECT_EQ(fields[read.FindField("TAGS")].ElementCount(), 12u);
    EXPECT_EQ(fields[read.FindField("AFTER")].ElementCount(), 1u);
    for (int line = 0; line < 3; ++line) {
        SCOPED_TRACE(line);
        EXPECT_EQ(Shown(read, 0, "CODE", line), std::string(1, char('A' + line)) + "x");
        EXPECT_EQ(Shown(read, 0, "NUMBER", line), std::to_string(100 + line));
        for (int part = 0; part < 2; ++part) {
            EXPECT_EQ(Shown(read, 0, "SIZE", line * 2 + part), std::to_string(10 * line + part));
            for (int tag = 0; tag < 2; ++tag)
                EXPECT_EQ(Shown(read, 0, "TAGS", (line * 2 + part) * 2 + tag), std::to_string(line * 4 + part * 2 + tag));
        }
    }
    EXPECT_EQ(Shown(read, 0, "AFTER"), "ZZ");
    EXPECT_EQ(Shown(read, 0, "PARTS", 5), "15000a0b0000");  // the group itself: LINE 3's PARTS 2, as bytes

    // A group that reaches past the element of the group around it is no
    // member of it: its copies would lie past the record.
    TablePlan odd;
    odd.name = "ODD";
    odd.recordLength = 20;
    odd.fields = {{GROUP, "ODD:OUTER", 0, 20, 2}, {GROUP, "ODD:INNER", 4, 12, 2}, {LONG, "ODD:VALUE", 4, 4}};
    odd.rows = {{1, Row(20).Le32(4, 7).Le32(10, 8)}};
    const TpsFile oddFile = TpsFile::Parse(Write({odd}));
    const Table& oddTable = Only(oddFile);
    ASSERT_EQ(oddTable.definition.fields[2].ElementCount(), 2u);
    EXPECT_EQ(Shown(oddTable, 0, "VALUE", 0), "7");
    EXPECT_EQ(Shown(oddTable, 0, "VALUE", 1), "8");
    EXPECT_EQ(ReadAll(Write({odd})), "");
}

TEST(TpsReader, DatesBecomeDayNumbersAndBadValuesAreFlagged) {
    struct DateCase {
        int year, month, day;
        long dayNumber;
        bool valid;
    };
    const std::vector<DateCase> cases = {
        {1801, 1, 1, 4, true},        {1970, 1, 1, 61730, true}, {2000, 1, 1, 72687, true},
        {2003, 7, 4, 73967, true},    {2024, 2, 29, 81512, true}, {0, 0, 0, 0, true},
        {2023, 2, 29, 0, false},      {2024, 13, 1, 0, false},    {2024, 4, 31, 0, false},
    };
    TablePlan t;
    t.recordLength = 8;
    t.fields = {{DATE, "D:DATE", 0, 4}, {TIME, "D:TIME", 4, 4}};
    for (std::size_t i = 0; i < cases.size(); ++i)
        t.rows.emplace_back(std::uint32_t(i + 1), Row(8).Date(0, cases[i].year, cases[i].month, cases[i].day)
                                                      .Time(4, i == 6 ? 24 : 12, 30, i == 7 ? 60 : 0, 0));
    const TpsFile tableFile = TpsFile::Parse(Write({t}));
    const Table& table = Only(tableFile);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Value v = table.Get(i, 0);
        EXPECT_EQ(v.integer, cases[i].dayNumber) << i;
        EXPECT_EQ(v.valid, cases[i].valid) << i;
        EXPECT_EQ(table.Get(i, 1).valid, i != 6 && i != 7) << i;
    }
    EXPECT_EQ(table.Get(0, 1).integer, (12 * 60 + 30) * 60 * 100 + 1);
}

TEST(TpsReader, ReadsSeveralTablesByNumberAndName) {
    TablePlan songs = TrackTableOf(3, "SONGS", 40);
    TablePlan empty;
    empty.number = 12;
    empty.name = "Empty";
    empty.recordLength = 4;
    empty.fields = {{LONG, "EMP:ID", 0, 4}};
    TablePlan unnamed = AllTypesTable();
    unnamed.number = 0x01000007;  // a number above 255 tells a full-width table number from its low byte
    unnamed.named = false;
    const TpsFile file = TpsFile::Parse(Write({songs, empty, unnamed, MemoTable()}));

    ASSERT_EQ(file.Tables().size(), 4u);
    EXPECT_EQ(file.Tables()[0].name, "SONGS");
    EXPECT_EQ(file.Tables()[1].name, "NOTES");
    EXPECT_EQ(file.Tables()[2].name, "Empty");
    EXPECT_EQ(file.Tables()[3].name, std::to_string(0x01000007));
    EXPECT_EQ(file.FindTable("songs"), &file.Tables()[0]);
    EXPECT_EQ(file.FindTable("SONG"), nullptr);
    EXPECT_EQ(file.FindTable("EMPTY")->RowCount(), 0u);
    EXPECT_EQ(file.Tables()[3].RowCount(), 2u);
    const Table& s = *file.FindTable("SONGS");
    ASSERT_EQ(s.RowCount(), 40u);
    EXPECT_EQ(Shown(s, 39, "Title"), "Song number 40");
    EXPECT_EQ(Shown(s, 0, "DiskTrackNo"), "2");
    EXPECT_EQ(file.Header().lastRecordNumber, 40u);
    EXPECT_TRUE(file.Warnings().empty());
}

TEST(TpsReader, WalksAMultiLevelPageTree) {
    const TablePlan big = TrackTableOf(1, "TRACKS", 3000);
    Options o;
    o.leafBytes = 2000;
    o.fanOut = 8;
    const Layout layout = WriteLayout({big}, o);
    ASSERT_GT(layout.leafOffsets.size(), 64u);  // three levels of inner pages
    ASSERT_NE(layout.rootOffset, layout.leafOffsets.front());

    const TpsFile file = TpsFile::Parse(layout.bytes);
    EXPECT_FALSE(file.Scanned());
    EXPECT_TRUE(file.Warnings().empty());
    const Table& t = Only(file);
    ASSERT_EQ(t.RowCount(), 3000u);
    for (std::size_t i = 0; i < t.RowCount(); ++i) {
        ASSERT_EQ(t.RecordNumber(i), i + 1);
        ASSERT_EQ(t.Row(i), big.rows[i].second);
    }
}

TEST(TpsReader, ReadsCompressedPagesWithAndWithoutTheDriversSpareZeroByte) {
    const TablePlan big = TrackTableOf(1, "TRACKS", 500);
    for (const bool spareZero : {false, true}) {
        Options o;
        o.leafBytes = 2000;
        o.spareZero = spareZero;
        const Layout layout = WriteLayout({big}, o);
        ASSERT_GT(layout.leafOffsets.size(), 10u);
        std::size_t endingInZero = 0;
        for (const std::uint32_t leaf : layout.leafOffsets) {
            const std::size_t diskSize = static_cast<unsigned char>(layout.bytes[leaf + 4]) |
                                         static_cast<unsigned char>(layout.bytes[leaf + 5]) << 8;
            if (layout.bytes[leaf + diskSize - 1] == '\0') ++endingInZero;
        }
        EXPECT_EQ(endingInZero > layout.leafOffsets.size() / 2, spareZero);  // the compressed ones
        const TpsFile file = TpsFile::Parse(layout.bytes);
        EXPECT_TRUE(file.Warnings().empty());
        const Table& t = Only(file);
        ASSERT_EQ(t.RowCount(), 500u) << spareZero;
        for (std::size_t i = 0; i < t.RowCount(); ++i) ASSERT_EQ(t.Row(i), big.rows[i].second) << spareZero;
    }
}

TEST(TpsReader, RecordsSharingLongPrefixesAndCarriedLengthsRebuild) {
    // Keys on a long text make index records that share up to 63 bytes.
    TablePlan t;
    t.recordLength = 100;
    t.fields = {{STRING, "P:TEXT", 0, 100}};
    t.keys = {{"P:KTEXT", {0}}};
    for (int i = 0; i < 70; ++i)
        t.rows.emplace_back(std::uint32_t(i + 1), Row(100).Text(0, 100, std::string(std::size_t(i), 'A') + "B"));
    for (const int maxShared : {0, 8, 63}) {
        Options o;
        o.maxShared = maxShared;
        const TpsFile readFile = TpsFile::Parse(Write({t}, o));
    const Table& read = Only(readFile);
        ASSERT_EQ(read.RowCount(), 70u) << maxShared;
        for (std::size_t i = 0; i < 70; ++i) ASSERT_EQ(read.Row(i), t.rows[i].second) << maxShared << " " << i;
    }
}

TEST(TpsReader, StaleOrphanPageIsIgnoredByTheTreeAndDedupedByTheScan) {
    TablePlan t = TrackTableOf(1, "TRACKS", 200);
    Options o;
    o.leafBytes = 3000;
    const std::string oldRow = TrackRow("Old title", "Old artist", "SC1000", 1, 1, "SC1000");
    Record stale{TableHeader(1, 0xF3), oldRow};
    PutBe32(stale.header, 5);
    o.orphan = {stale};
    Layout layout = WriteLayout({t}, o);
    ASSERT_GT(layout.orphanOffset, layout.leafOffsets.back());

    {
        const TpsFile file = TpsFile::Parse(layout.bytes);
        EXPECT_FALSE(file.Scanned());
        EXPECT_EQ(Shown(Only(file), 4, "Title"), "Song number 5");
        EXPECT_EQ(Only(file).RowCount(), 200u);
    }
    // A root that is no page any more: the reader scans, meets both copies
    // and keeps one.
    SetLe32(layout.bytes, layout.rootOffset, 0x12345);
    const TpsFile file = TpsFile::Parse(layout.bytes);
    EXPECT_TRUE(file.Scanned());
    EXPECT_EQ(Only(file).RowCount(), 200u);
    EXPECT_EQ(Shown(Only(file), 4, "Title"), "Song number 5");
    EXPECT_THAT(file.Warnings(), ::testing::Contains(HasSubstr("1 duplicate rows dropped")));
}

TEST(TpsReader, ScanSkipsAPagePartlyOverwrittenByANewerOne) {
    Options o;
    o.compress = false;
    o.leafBytes = 60000;
    const Layout layout = WriteLayout({TrackTableOf(1, "TRACKS", 30)}, o);
    ASSERT_EQ(layout.leafOffsets, std::vector<std::uint32_t>{0x200});
    const std::string live = layout.bytes.substr(0x200);
    ASSERT_GT(live.size(), 0x200u);

    // At 0x200 the first unit of an older page that reached to 0x400; at
    // 0x300 the live page that was written over its second unit.
    Record stale{TableHeader(1, 0xF3), TrackRow("Old", "Old", "", 1, 1, "")};
    PutBe32(stale.header, 5);
    const std::string body = EncodeRecords({stale});
    std::string file = layout.bytes.substr(0, 0x200) + PageBytes(0x200, body, 13 + body.size(), 0, 2, 0);
    file.resize(0x300, char(0xB0));
    SetLe16(file, 0x204, 0x200);
    SetLe16(file, 0x206, 0x200);
    file += live;
    SetLe32(file, 0x300, 0x300);
    FinishHeader(file, 0x400, 30);  // the root lands inside the live page: no page there

    const TpsFile read = TpsFile::Parse(file);
    EXPECT_TRUE(read.Scanned());
    ASSERT_EQ(Only(read).RowCount(), 30u);
    EXPECT_EQ(Shown(Only(read), 4, "Title"), "Song number 5");
}

TEST(TpsReader, JoinsDefinitionPartsInTheirOrder) {
    struct PartCase {
        const char* name;
        bool bigEndian;
        bool reversed;
    };
    for (const auto& c : std::vector<PartCase>{{"in order", false, false},
                                               {"stored last first", false, true},
                                               {"big-endian numbers", true, true}}) {
        TablePlan t = AllTypesTable();
        t.definitionParts = 3;
        t.bigEndianPartNumbers = c.bigEndian;
        t.reversedParts = c.reversed;
        Options o;
        o.sortRecords = false;
        const TpsFile readFile = TpsFile::Parse(Write({t}, o));
    const Table& read = Only(readFile);
        EXPECT_EQ(read.definition.fields.size(), t.fields.size()) << c.name;
        EXPECT_EQ(Shown(read, 0, "STRING"), "Padded") << c.name;
    }
}

TEST(TpsReader, JoinsMemoChunksAndBlobs) {
    TablePlan t = MemoTable();
    t.rows.emplace_back(4, Row(4).Le32(0, 40));
    t.rows.emplace_back(5, Row(4).Le32(0, 50));
    t.memoValues.push_back({4, 0, std::string(100, 'g'), 30, 2});        // a chunk missing
    t.memoValues.push_back({5, 1, "0123456789", 4, -1, 50});              // a BLOB that says more than it holds
    t.memoValues.push_back({77, 0, "orphan"});                             // a row that is not there
    const TpsFile file = TpsFile::Parse(Write({t}));
    const Table& read = Only(file);
    ASSERT_EQ(read.definition.memos.size(), 2u);
    EXPECT_TRUE(read.definition.memos[1].IsBlob());
    std::string text;
    for (int i = 0; i < 19; ++i) text += "line " + std::to_string(i) + "\n";
    EXPECT_EQ(read.Memo(0, 0), text);
    EXPECT_EQ(read.Memo(0, 1), std::string("\x89PNG\0\x01\x02", 7));
    EXPECT_EQ(read.Memo(1, 0), "short note");
    EXPECT_EQ(read.Memo(1, 1), "");
    EXPECT_EQ(read.Memo(2, 0), "");
    EXPECT_EQ(read.Memo(3, 0), "");
    // Values that cannot be read whole are not given at all, and are named.
    EXPECT_EQ(read.Memo(3, 0), "");
    EXPECT_EQ(read.Memo(4, 1), "");
    EXPECT_FALSE(read.IsDamaged(0, "NOT:TEXT"));
    EXPECT_TRUE(read.IsDamaged(3, "NOT:TEXT"));
    EXPECT_TRUE(read.IsDamaged(4, "not:picture"));
    ASSERT_EQ(read.Damaged().size(), 2u);
    EXPECT_EQ(read.Damaged()[0].record, 4u);
    EXPECT_EQ(read.Damaged()[0].field, "NOT:TEXT");
    EXPECT_EQ(read.Damaged()[1].what, "the BLOB gives 50 bytes and holds 10");
    EXPECT_THAT(file.Warnings(), ::testing::Contains("table NOTES, record 4, NOT:TEXT: a part is missing; the value "
                                                     "was not read"));
    EXPECT_THAT(file.Warnings(), ::testing::Contains("table NOTES, record 5, NOT:PICTURE: the BLOB gives 50 bytes and "
                                                     "holds 10; the value was not read"));
    EXPECT_THAT(file.Warnings(), ::testing::Contains(HasSubstr("record 77, memo 0: belongs to no row")));
}

TEST(TpsReader, KeepsWindows1252TextAsBytes) {
    TablePlan t;
    t.number = 2;
    t.name = "Chansons";
    t.recordLength = 30;
    t.fields = {{STRING, "CHA:Titre", 0, 30}};
    const std::string title = "Caf\xE9 \xD1o\xF1o \x80 \x93quoted\x94";  // é Ñ ñ € “ ”
    t.rows = {{1, Row(30).Text(0, 30, title)}};
    const TpsFile readFile = TpsFile::Parse(Write({t}));
    const Table& read = Only(readFile);
    EXPECT_EQ(Shown(read, 0, "Titre"), title);
    EXPECT_EQ(fw::AnsiToUtf8(Shown(read, 0, "TITRE")), "Café Ñoño € “quoted”");
}

TEST(TpsReader, ReadsFromAPathAndRecognisesTheSignature) {
    const auto dir = std::filesystem::temp_directory_path() / ("tps_reader_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string plain = (dir / "MAIN.TPS").string();
    const std::string locked = (dir / "LOCKED.TPS").string();
    Options secret;
    secret.password = "abc";
    std::ofstream(plain, std::ios::binary) << Write({TrackTableOf(1, "UNNAMED", 3)});
    std::ofstream(locked, std::ios::binary) << Write({TrackTableOf(1, "UNNAMED", 3)}, secret);

    EXPECT_TRUE(fw::tps::IsTopSpeedFile(plain));
    EXPECT_FALSE(fw::tps::IsTopSpeedFile(locked));
    EXPECT_FALSE(fw::tps::IsTopSpeedFile((dir / "none.tps").string()));
    EXPECT_EQ(Only(TpsFile::Read(plain)).RowCount(), 3u);
    try {
        TpsFile::Read(locked);
        ADD_FAILURE() << "an encrypted file was read";
    } catch (const fw::tps::TpsError& e) {
        EXPECT_STREQ(e.what(), "password-protected or not a TopSpeed file");
    }
    EXPECT_THROW(TpsFile::Read((dir / "none.tps").string()), fw::tps::TpsError);
    std::filesystem::remove_all(dir);
}

TEST(TpsReader, AFileLongerThanItsHeaderSaysIsReadWithAWarning) {
    std::string bytes = Write({TrackTableOf(1, "UNNAMED", 3)});
    bytes.append(256, char(0xB0));
    const TpsFile file = TpsFile::Parse(bytes);
    EXPECT_EQ(Only(file).RowCount(), 3u);
    EXPECT_THAT(file.Warnings(), ::testing::Contains(HasSubstr("the file has")));
}

}  // namespace
