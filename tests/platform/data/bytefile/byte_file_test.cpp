#include "platform/data/bytefile/byte_file.h"

#include "platform/runtime/error_state.h"
#include "tests/platform/data/names/temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

using testing_support::TempFolder;

struct Block {
    fw::FString<8> DATA;
};
const fw::RecordDecl& BlockDecl() {
    static const fw::RecordDecl d = fw::RecordDeclBuilder<Block>("BLK").Field("DATA", &Block::DATA).Build();
    return d;
}

struct PageLine {
    fw::FString<256> METALINE;
};
const fw::RecordDecl& PageLineDecl() {
    static const fw::RecordDecl d =
        fw::RecordDeclBuilder<PageLine>("PAGE").Field("METALINE", &PageLine::METALINE).Build();
    return d;
}

struct ReadCase {
    std::uint64_t offset;
    std::size_t length;
    std::string bytes;  // the buffer's first `length` bytes afterwards
    std::uint64_t count;
    bool atEnd;
    int error;
};

TEST(ByteFile, ReadsReportTheBytesReadAndTheEndOfTheFile) {
    TempFolder dir;
    dir.Write("f.bin", "0123456789");
    fw::ByteFileOf<Block> f(BlockDecl());
    f.name = dir / "F.BIN";
    fw::OPEN(f);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::BYTES(f), 10u);  // before a read: the size
    EXPECT_FALSE(fw::ENDOFFILE(f));

    const ReadCase cases[] = {
        {0, 4, "0123", 4, false, 0},
        {6, 4, "6789", 4, true, 0},
        {6, 8, std::string("6789\0\0\0\0", 8), 4, true, 0},  // short at the end: the rest cleared
        {9, 1, "9", 1, true, 0},
        {10, 4, std::string(4, '\0'), 0, true, fw::RecordNotAvailable},
        {50, 2, std::string(2, '\0'), 0, true, fw::RecordNotAvailable},
    };
    for (const auto& c : cases) {
        f.rec.DATA = "########";
        fw::GET(f, c.offset, c.length);
        EXPECT_EQ(fw::ERRORCODE(), c.error) << c.offset << "+" << c.length;
        EXPECT_EQ(fw::BYTES(f), c.count) << c.offset << "+" << c.length;
        EXPECT_EQ(fw::ENDOFFILE(f), c.atEnd) << c.offset << "+" << c.length;
        EXPECT_EQ(std::string(f.rec.DATA.data, c.length), c.bytes) << c.offset << "+" << c.length;
    }
    // Longer than the record: refused, nothing moved.
    f.rec.DATA = "########";
    fw::GET(f, 0, 9);
    EXPECT_EQ(fw::ERRORCODE(), fw::FileSystemErr);
    EXPECT_EQ(f.rec.DATA.Str(), "########");
    fw::CLOSE(f);
    EXPECT_EQ(fw::ERRORCODE(), 0);
}

TEST(ByteFile, AnEmptyFileIsAtItsEndAtOnce) {
    TempFolder dir;
    dir.Write("empty", "");
    fw::ByteFileOf<Block> f(BlockDecl());
    f.name = dir / "empty";
    fw::OPEN(f);
    EXPECT_EQ(fw::BYTES(f), 0u);
    EXPECT_TRUE(fw::ENDOFFILE(f));
    fw::GET(f, 0, 8);
    EXPECT_EQ(fw::ERRORCODE(), fw::RecordNotAvailable);
}

// The page-number rewrite: overlapping windows, one patched in place.
TEST(ByteFile, APlaceholderIsPatchedInPlaceAndTheFileKeepsItsLength) {
    TempFolder dir;
    std::string page(600, 'x');
    page.replace(300, 19, "Page xxxxx of xxxxx");
    dir.Write("page.wmf", page);

    fw::ByteFileOf<PageLine> f(PageLineDecl());
    f.name = dir / "page.wmf";
    fw::OPEN(f, 0x22);
    std::uint64_t pos = 0;
    bool patched = false;
    while (!patched) {
        fw::GET(f, pos, 256);
        if (fw::ERRORCODE()) break;
        const std::string_view window(f.rec.METALINE.data, fw::BYTES(f));
        const auto at = window.find("Page xxxxx of xxxxx");
        if (at != std::string_view::npos) {
            std::memcpy(f.rec.METALINE.data + at, "    Page 2 of 7    ", 19);
            fw::PUT(f, pos, fw::BYTES(f));
            ASSERT_EQ(fw::ERRORCODE(), 0);
            patched = true;
        } else if (fw::ENDOFFILE(f)) {
            break;
        }
        pos += 245;
    }
    fw::CLOSE(f);
    EXPECT_TRUE(patched);
    std::string expected = page;
    expected.replace(300, 19, "    Page 2 of 7    ");
    EXPECT_EQ(dir.Read("page.wmf"), expected);
}

TEST(ByteFile, AddAppendsAndWritesAreRefusedWhereTheyCannotGo) {
    TempFolder dir;
    fw::ByteFileOf<Block> f(BlockDecl());
    f.name = dir / "out.bin";
    fw::OPEN(f);
    EXPECT_EQ(fw::ERRORCODE(), fw::NoFileErr);
    fw::ADD(f, 3);
    EXPECT_EQ(fw::ERRORCODE(), fw::NotOpenErr);

    fw::CREATE(f);
    ASSERT_EQ(fw::ERRORCODE(), 0);
    fw::OPEN(f);
    f.rec.DATA = "abcdefgh";
    fw::ADD(f, 3);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(fw::BYTES(f), 3u);
    f.rec.DATA = "XYZ";
    fw::ADD(f, 2);
    fw::PUT(f, 1, 1);  // in place
    EXPECT_EQ(fw::ERRORCODE(), 0);
    fw::PUT(f, 9, 1);  // past the end would leave a hole
    EXPECT_EQ(fw::ERRORCODE(), fw::RecordNotAvailable);
    fw::ADD(f, 9);
    EXPECT_EQ(fw::ERRORCODE(), fw::FileSystemErr);
    fw::CLOSE(f);
    EXPECT_EQ(fw::ERRORCODE(), 0);
    EXPECT_EQ(dir.Read("out.bin"), "aXcXY");

    fw::OPEN(f, 0x20);  // read only
    fw::ADD(f, 1);
    EXPECT_EQ(fw::ERRORCODE(), fw::NoAccessErr);
    fw::CLOSE(f);
    fw::CLOSE(f);  // not open: harmless
    EXPECT_EQ(fw::ERRORCODE(), 0);

    f.name = dir / "missing/out.bin";
    fw::CREATE(f);
    EXPECT_EQ(fw::ERRORCODE(), fw::PathErr);
}

}  // namespace
