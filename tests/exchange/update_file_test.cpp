// The update-file format: blocks of a text header and a zlib stream.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>

#include "exchange/update_file.h"

using namespace exchange;

namespace {

std::string Random(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(gen() & 0xFF);
    return s;
}

std::string Inflated(const std::string& file, InflateOutcome& outcome, std::uint64_t cap = 1ull << 32) {
    std::string out;
    outcome = InflateBytes(file, [&](std::string_view b) { out.append(b); return true; }, cap);
    return out;
}

std::string Block(const std::string& data, bool more, std::size_t claimedUncompressed = std::string::npos) {
    std::string packed(compressBound(data.size()), '\0');
    uLongf n = packed.size();
    compress(reinterpret_cast<Bytef*>(packed.data()), &n, reinterpret_cast<const Bytef*>(data.data()), data.size());
    packed.resize(n);
    return FormatBlockHeader(n, claimedUncompressed == std::string::npos ? data.size() : claimedUncompressed, more) + packed;
}

}  // namespace

TEST(UpdateFile, HeadersReadAsDesigned) {
    BlockHeader h;
    ASSERT_TRUE(ParseBlockHeader("          41234          63000    X", h));
    EXPECT_EQ(h.compressed, 41234u);
    EXPECT_EQ(h.uncompressed, 63000u);
    EXPECT_TRUE(h.more);
    ASSERT_TRUE(ParseBlockHeader("12             0                   ", h));
    EXPECT_FALSE(h.more);
    EXPECT_EQ(FormatBlockHeader(41234, 63000, true), "          41234          63000    X");
}

TEST(UpdateFile, BadHeadersAreRefused) {
    const char* bad[] = {
        "          62001          63000    X",  // compressed over its limit
        "            -35          63000    X",  // negative: would read the same header for ever
        "              0              0     ",  // no data
        "          4x234          63000    X",  // letters
        "          41234          63001    X",  // uncompressed over its limit
        "                         63000    X",  // blank length
        "          41 34          63000    X",  // a blank between digits
        "          41234          63000   X",   // 34 bytes
    };
    for (const char* h : bad) {
        BlockHeader out;
        EXPECT_FALSE(ParseBlockHeader(h, out)) << h;
    }
}

TEST(UpdateFile, ManyBlocksJoinInOrder) {
    const std::string payload = Random(3 * 61000 + 17, 1) + std::string(200000, 'a');
    const std::string file = MakeUpdateFile(payload);
    InflateOutcome o;
    EXPECT_EQ(Inflated(file, o), payload);
    EXPECT_EQ(o.result, InflateResult::Ok);
    EXPECT_EQ(o.blocks, static_cast<long>((payload.size() + 60999) / 61000));
    // Only the last header lacks the mark.
    BlockHeader first;
    ASSERT_TRUE(ParseBlockHeader(std::string_view(file).substr(0, 35), first));
    EXPECT_TRUE(first.more);
    EXPECT_EQ(file.substr(0, 15).find_first_not_of(' '), 15 - std::to_string(first.compressed).size());
}

TEST(UpdateFile, OneBlockWithABlankMarkIsTheWholeFile) {
    const std::string file = Block("abc", false);
    EXPECT_EQ(file[34], ' ');
    InflateOutcome o;
    EXPECT_EQ(Inflated(file + "trailing bytes are no block", o), "abc");
    EXPECT_EQ(o.result, InflateResult::Ok);
    EXPECT_EQ(o.blocks, 1);
}

TEST(UpdateFile, DamagedFilesFailWithNoHangAndNoShortSuccess) {
    const std::string a = Random(5000, 2), b = Random(7000, 3), c = "third";
    std::string corrupt = Block(b, true);
    corrupt[35 + 10] ^= 0x55;  // a damaged stream in the second block
    std::string lying = Block(b, true, b.size() + 100);  // overstates its length
    std::string negative = "            -35          63000    X" + std::string(64, 'x');
    struct Case {
        const char* name;
        std::string file;
        InflateResult result;
    } cases[] = {
        {"corrupt second block", Block(a, true) + corrupt + Block(c, false), InflateResult::Corrupt},
        {"overstated length", Block(a, true) + lying + Block(c, false), InflateResult::Corrupt},
        {"understated length", Block(a, true) + Block(b, true, 10) + Block(c, false), InflateResult::Corrupt},
        {"missing last block", Block(a, true) + Block(b, true), InflateResult::Corrupt},
        {"cut inside a block", (Block(a, true) + Block(b, false)).substr(0, 5100), InflateResult::Corrupt},
        {"negative length", Block(a, true) + negative, InflateResult::Corrupt},
        {"nothing at all", "", InflateResult::Empty},
        {"part of a header", "      12", InflateResult::Empty},
        {"more than a block holds", Block(std::string(63001, 'z'), false, 63000), InflateResult::BufferTooSmall},
    };
    for (const Case& k : cases) {
        InflateOutcome o;
        Inflated(k.file, o);
        EXPECT_EQ(o.result, k.result) << k.name;
    }
}

TEST(UpdateFile, TinyBlocksStopAtTheCap) {
    // 63000 zero bytes pack into about 84: a table of them is a bomb.
    std::string file;
    const std::string zeros(63000, '\0');
    for (int i = 0; i < 400; ++i) file += Block(zeros, i < 399);
    const std::uint64_t cap = InflateCapFor(file.size());
    EXPECT_LT(cap, 400u * 63000u);
    std::uint64_t written = 0;
    InflateOutcome o = InflateBytes(file, [&](std::string_view b) { written += b.size(); return true; }, cap);
    EXPECT_EQ(o.result, InflateResult::TooLarge);
    EXPECT_LE(written, cap);
    // The same table within a cap that allows it inflates whole.
    o = InflateBytes(file, [](std::string_view) { return true; }, 400u * 63000u);
    EXPECT_EQ(o.result, InflateResult::Ok);
}

TEST(UpdateFile, AWriteFailureStopsTheFile) {
    const std::string file = MakeUpdateFile(Random(150000, 4));
    int calls = 0;
    InflateOutcome o = InflateBytes(file, [&](std::string_view) { return ++calls < 2; }, 1ull << 30);
    EXPECT_EQ(o.result, InflateResult::WriteError);
    EXPECT_EQ(calls, 2);
}

TEST(UpdateFile, EmptyPayloadIsOneEmptyBlock) {
    InflateOutcome o;
    EXPECT_EQ(Inflated(MakeUpdateFile(""), o), "");
    EXPECT_EQ(o.result, InflateResult::Ok);
    EXPECT_EQ(o.blocks, 1);
}
