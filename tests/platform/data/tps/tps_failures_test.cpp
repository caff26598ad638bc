// Files the TopSpeed reader must refuse, each with the reason in its
// message: damaged headers, encrypted files, truncation, pages past the
// end, damaged compression and records, definitions that do not fit.

#include "platform/data/tps/tps_file.h"
#include "platform/data/tps/tps_legacy_format.h"
#include "tests/platform/data/tps/tps_fixtures.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace tps_fixture;
using fw::tps::TpsError;
using fw::tps::TpsFile;

std::string ErrorOf(const std::string& bytes) {
    try {
        TpsFile::Parse(bytes);
    } catch (const TpsError& e) {
        return e.what();
    }
    return "<read without error>";
}

// A one-table file with raw (uncompressed) pages, so tests can reach
// into the records.
Layout RawLayout(std::vector<TablePlan> tables = {TrackTableOf(1, "TRACKS", 5)}) {
    Options o;
    o.compress = false;
    return WriteLayout(tables, o);
}

// The body of the first leaf of a raw layout starts here.
std::size_t FirstBody(const Layout& l) { return l.leafOffsets.front() + 13; }

struct FailureCase {
    const char* name;
    std::function<std::string()> make;
    std::string message;  // the whole message, or its start when it ends in "..."
};

TEST(TpsFailures, EachDamageGivesItsMessage) {
    const std::string plain = Write({TrackTableOf(1, "TRACKS", 5)});
    const std::vector<FailureCase> cases = {
        {"empty file", [] { return std::string(); }, "password-protected or not a TopSpeed file"},
        {"text file", [] { return std::string(600, 'x'); }, "password-protected or not a TopSpeed file"},
        {"damaged signature",
         [&] { std::string b = plain; b[0x0F] = 'o'; return b; },
         "password-protected or not a TopSpeed file"},
        {"first word not zero",
         [&] { std::string b = plain; b[0] = 1; return b; },
         "password-protected or not a TopSpeed file"},
        {"encrypted",
         [] { Options o; o.password = "a"; return Write({TrackTableOf(1, "TRACKS", 5)}, o); },
         "password-protected or not a TopSpeed file"},
        {"shorter than a header", [&] { return plain.substr(0, 0x100); },
         "truncated file: 256 bytes, shorter than the header"},
        {"truncated", [&] { return plain.substr(0, plain.size() - 256); }, "truncated file: the header gives ..."},
        {"header of another size",
         [&] { std::string b = plain; SetLe16(b, 0x04, 0x400); return b; },
         "damaged header: header size 1024 instead of 512"},
        {"root past the end",
         [&] { std::string b = plain; SetLe32(b, 0x1C, 0x7000); return b; },
         "page reference 28672 points past the end of the file"},
        {"child past the end",
         [] {
             Options o;
             o.leafBytes = 500;
             Layout l = WriteLayout({TrackTableOf(1, "TRACKS", 40)}, o);
             SetLe32(l.bytes, l.rootOffset + 13 + 4, 0x100000);
             return l.bytes;
         },
         "page reference 1048576 points past the end of the file"},
        {"page past the end",
         [] {
             Layout l = RawLayout();
             SetLe16(l.bytes, l.leafOffsets[0] + 4, 0xFFFF);
             return l.bytes;
         },
         "page at 0x200 runs past the end of the file"},
        {"zero literal count",
         [] {
             Layout l = WriteLayout({TrackTableOf(1, "TRACKS", 5)});
             l.bytes[l.leafOffsets[0] + 13] = 0;
             return l.bytes;
         },
         "page at 0x200: damaged compression run"},
        {"record longer than its page",
         [] {
             Layout l = RawLayout();
             SetLe16(l.bytes, FirstBody(l) + 1, 0xFFF0);
             return l.bytes;
         },
         "page at 0x200: record 0 is longer than its page"},
        {"record list not started",
         [] {
             Layout l = RawLayout();
             l.bytes[FirstBody(l)] = char(0x80);
             return l.bytes;
         },
         "page at 0x200: record 0 does not start a record list"},
        {"prefix longer than the record before",
         [] {
             Layout l = RawLayout();
             l.bytes[FirstBody(l) + 5] = char(0xC0 | 0x3F);
             return l.bytes;
         },
         "page at 0x200: record 1 shares more bytes than the record before has"},
        {"fewer records than the page counts",
         [] {
             auto records = TableRecords(TrackTableOf(1, "TRACKS", 5));
             SortRecords(records);
             return SinglePageFile(EncodeRecords(records), records.size() + 3);
         },
         "page at 0x200: its records end after 39 of the 41 it counts"},
        {"more records than the page counts",
         [] {
             auto records = TableRecords(TrackTableOf(1, "TRACKS", 5));
             SortRecords(records);
             return SinglePageFile(EncodeRecords(records), records.size() - 1);
         },
         "page at 0x200: 294 bytes after the 37 records it counts"},
        {"header longer than its record",
         [] { return SinglePageFile(std::string("\xC0\x02\x00\x05\x00" "ab", 7), 1); },
         "page at 0x200: record 0 has a header longer than the record"},
        {"rows longer than the definition",
         [] {
             TablePlan t = TrackTableOf(1, "TRACKS", 5);
             t.recordLength = 110;
             t.fields.back().length = 14;
             return Write({t});
         },
         "table TRACKS: the definition does not match its rows (a row of 111 bytes, the definition gives 110)"},
        {"field past the record",
         [] {
             TablePlan t = TrackTableOf(1, "TRACKS", 5);
             t.fields.back().length = 16;
             return Write({t});
         },
         "table TRACKS: the definition does not match its rows (field KAR:UnqDiskID ends at byte 112 of a "
         "111-byte record)"},
        {"number of the wrong size",
         [] {
             TablePlan t = TrackTableOf(1, "TRACKS", 5);
             t.fields[4].length = 2;
             return Write({t});
         },
         "table TRACKS: the definition does not match its rows (field KAR:MAKEID is LONG of 2 bytes)"},
        {"array of broken elements",
         [] {
             TablePlan t = TrackTableOf(1, "TRACKS", 5);
             t.fields[0].elements = 3;
             return Write({t});
         },
         "table TRACKS: the definition does not match its rows (field KAR:Title has a length that is no whole "
         "number of elements)"},
        {"definition part missing",
         [] {
             TablePlan t = TrackTableOf(1, "TRACKS", 5);
             t.definitionParts = 3;
             t.missingPart = 1;
             return Write({t});
         },
         "table TRACKS: the definition is incomplete (a part is missing)"},
        {"definition cut short",
         [] {
             TablePlan t = TrackTableOf(1, "TRACKS", 5);
             t.definitionParts = 2;
             t.missingPart = 1;
             return Write({t});
         },
         "table TRACKS: damaged definition (..."},
        {"rows without a definition",
         [] {
             TablePlan t = TrackTableOf(1, "TRACKS", 5);
             t.definitionParts = 1;
             t.missingPart = 0;
             return Write({t});
         },
         "table TRACKS has rows but no definition"},
    };
    for (const auto& c : cases) {
        const std::string got = ErrorOf(c.make());
        if (c.message.size() > 3 && c.message.ends_with("...")) {
            EXPECT_EQ(got.substr(0, c.message.size() - 3), c.message.substr(0, c.message.size() - 3)) << c.name;
        } else {
            EXPECT_EQ(got, c.message) << c.name;
        }
    }
}

TEST(TpsFailures, DefinitionBytesLeftOverAreRefused) {
    std::string def = DefinitionBytes(TrackTableOf(1, "T", 0)) + "zz";
    EXPECT_THROW(fw::tps::ParseDefinition(def, "T"), TpsError);
    def.resize(def.size() - 2);
    EXPECT_EQ(fw::tps::ParseDefinition(def, "T").fields.size(), 6u);
}

// A file that grows spreads its pages over more of the header's 60 page
// ranges, so the range table no longer ends in equal blocks; such files are
// encrypted files all the same.
TEST(TpsFailures, EncryptedFilesAreKnownWhateverTheirSize) {
    struct SizeCase {
        int rows;
        std::uint32_t unitsPerRange;
        bool equalRangeTail;  // the last blocks of the range table are equal
    };
    const std::vector<SizeCase> cases = {{5, 0, true}, {300, 0, true}, {300, 8, true},
                                         {600, 4, false}, {2000, 2, false}, {2000, 1, false}};
    for (const SizeCase& c : cases)
        for (const char* password : {"a", "owner", "Long Password 2024"}) {
            SCOPED_TRACE(std::to_string(c.rows) + " rows, " + std::to_string(c.unitsPerRange) + " units per range, " +
                         password);
            Options o;
            o.unitsPerRange = c.unitsPerRange;
            const std::string plain = Write({TrackTableOf(1, "TRACKS", c.rows)}, o);
            EXPECT_EQ(plain.substr(0x80, 64) == plain.substr(0x1C0, 64), c.equalRangeTail);
            EXPECT_EQ(TpsFile::Parse(plain).Tables().front().RowCount(), std::size_t(c.rows));
            EXPECT_FALSE(fw::tps::LooksEncrypted(plain));
            o.password = password;
            const std::string secret = Write({TrackTableOf(1, "TRACKS", c.rows)}, o);
            EXPECT_TRUE(fw::tps::LooksEncrypted(secret));
            EXPECT_EQ(ErrorOf(secret), "password-protected or not a TopSpeed file");
        }
}

TEST(TpsFailures, TheWriterEncryptsWithTheOwnerCipher) {
    // Known answers for the password "abc".
    const OwnerKey smeared = SmearedKey("abc");
    EXPECT_EQ(smeared[0], 0x74229462u);
    EXPECT_EQ(smeared[1], 0x78269866u);
    const OwnerKey key = MakeOwnerKey("abc");
    EXPECT_EQ(key[0], 0xE0BA63B8u);
    EXPECT_EQ(key[1], 0xE8DB2AD8u);
    EXPECT_EQ(key[2], 0x082A0924u);
    EXPECT_EQ(key[3], 0x58EC9B68u);
    EXPECT_EQ(key[15], 0xC3DA94D8u);
    std::string block(64, '\0');
    EncryptBlock(key, block, 0);
    EXPECT_EQ(block.substr(0, 16), std::string("\xc0\x8a\xc2\x48\xf8\x6b\xfb\xe8\x24\x09\x2a\x08\x78\xdf\xfd\xd9", 16));
}

}  // namespace
