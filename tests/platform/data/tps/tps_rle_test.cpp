// The page compression: the reader's expansion of literal and repeat runs,
// and that the fixture writer's compression expands back to its input.

#include "platform/data/tps/tps_rle.h"
#include "tests/platform/data/tps/tps_writer.h"

#include <gtest/gtest.h>

namespace {

using fw::tps::Decompress;

struct RleCase {
    const char* name;
    std::string packed;
    std::size_t size;
    std::string expected;
};

TEST(TpsRle, ExpandsLiteralAndRepeatRuns) {
    const std::string literal133(133, 'q');
    const std::vector<RleCase> cases = {
        {"literal then repeat", std::string("\x03" "ABC" "\x04", 5), 7, "ABCCCCC"},
        {"two-byte repeat count", std::string("\x01 \x82\x01", 4), 131, std::string(131, ' ')},
        {"two-byte literal count", std::string("\x85\x01", 2) + literal133, 133, literal133},
        {"ends after a literal", std::string("\x02xy\x01\x01z", 6), 4, "xyyz"},
        {"zero repeat", std::string("\x01" "a" "\x00\x01" "b", 5), 2, "ab"},
        {"several pairs", std::string("\x01" "a" "\x02\x02" "bc" "\x00", 7), 5, "aaabc"},
        {"spare zero after a closing repeat", std::string("\x01" "a" "\x03" "\x00", 4), 4, "aaaa"},
        {"spare zero after a closing literal", std::string("\x01" "a" "\x01\x02" "bc" "\x00", 7), 4, "aabc"},
    };
    for (const auto& c : cases) {
        std::string out;
        ASSERT_TRUE(Decompress(c.packed, c.size, out)) << c.name;
        EXPECT_EQ(out, c.expected) << c.name;
    }
}

TEST(TpsRle, RefusesDamagedRuns) {
    const std::vector<RleCase> cases = {
        {"zero literal count", std::string("\x00\x05", 2), 5, ""},
        {"literal past the input", std::string("\x05" "ab", 3), 5, ""},
        {"count cut off", std::string("\x01" "a" "\x02\x02" "bc" "\x85", 7), 10, ""},
        {"repeat past the size", std::string("\x01" "a" "\x7F", 3), 10, ""},
        {"result too short", std::string("\x02" "ab", 3), 5, ""},
        {"result too long", std::string("\x04" "abcd", 5), 3, ""},
        {"repeat past the size before a spare zero", std::string("\x01" "a" "\x05" "\x00", 4), 4, ""},
        {"two spare bytes", std::string("\x01" "a" "\x03" "\x00\x00", 5), 4, ""},
        {"a spare byte that is no zero", std::string("\x01" "a" "\x03" "\x01", 4), 4, ""},
        {"a literal after the page is complete", std::string("\x01" "a" "\x03" "\x01" "b", 5), 4, ""},
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_FALSE(Decompress(c.packed, c.size, out)) << c.name;
    }
}

TEST(TpsRle, WriterCompressionExpandsToItsInput) {
    const std::vector<std::string> inputs = {
        "x",
        "abcabc",
        std::string(5000, '\0'),
        std::string(300, 'a') + "b" + std::string(40000, ' ') + "tail",
        [] { std::string s; for (int i = 0; i < 70000; ++i) s += char(i * 7 % 251); return s; }(),
        "aaab" + std::string(3, 'c') + "dddd",
    };
    for (const auto& in : inputs)
        for (const bool spareZero : {false, true}) {
            const std::string packed = tps_fixture::Rle(in, spareZero);
            std::string out;
            ASSERT_TRUE(Decompress(packed, in.size(), out)) << in.size() << " " << spareZero;
            EXPECT_EQ(out, in);
        }
}

}  // namespace
