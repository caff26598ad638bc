// Damaged copies of the fixtures, made by a fixed sequence of byte changes,
// must each read or give a TpsError: never a crash, a hang or another
// exception. The fuzz target (tests/fuzz) does the same without end under
// clang; this loop keeps the gcc build honest.

#include "tests/platform/data/tps/tps_read_all.h"
#include "tests/platform/data/tps/tps_seed_files.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct SplitMix {
    std::uint64_t state;
    std::uint64_t Next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t n) { return n ? Next() % n : 0; }
};

// Offsets worth hitting more often than by chance: the header's numbers
// and the first bytes of every 256-byte unit (page headers).
std::size_t Target(SplitMix& r, std::size_t size) {
    switch (r.Below(4)) {
    case 0: return r.Below(std::min<std::size_t>(size, 0x40));
    case 1: return std::min(size - 1, 0x200 + 256 * r.Below(size / 256) + r.Below(24));
    default: return r.Below(size);
    }
}

void Mutate(SplitMix& r, std::string& b) {
    if (b.empty()) return;
    switch (r.Below(7)) {
    case 0: b[Target(r, b.size())] = char(r.Next()); break;
    case 1: b[Target(r, b.size())] ^= char(1u << r.Below(8)); break;
    case 2: {
        const std::size_t at = Target(r, b.size());
        const unsigned char v[] = {0x00, 0xFF, 0x7F, 0x80, 0x01};
        for (std::size_t k = 0; k < 2 && at + k < b.size(); ++k) b[at + k] = char(v[r.Below(5)]);
        break;
    }
    case 3: b.resize(r.Below(b.size())); break;
    case 4: {  // one unit copied over another: stale and overlapping pages
        const std::size_t units = b.size() / 256;
        if (units < 2) break;
        const std::size_t from = r.Below(units), to = r.Below(units);
        if (from != to) b.replace(to * 256, 256, b, from * 256, 256);
        break;
    }
    case 5: {
        const std::size_t at = r.Below(b.size());
        b.erase(at, std::min(b.size() - at, 1 + r.Below(16)));
        break;
    }
    default: b.insert(r.Below(b.size()), 1 + r.Below(8), char(r.Next())); break;
    }
}

TEST(TpsMutation, DamagedFilesReadOrFailCleanly) {
    SplitMix r{20260901};
    std::size_t failed = 0;
    std::size_t read = 0;
    for (const auto& [name, seed] : tps_fixture::SeedFiles()) {
        ASSERT_EQ(tps_fixture::ReadAll(seed), "") << name;
        for (int i = 0; i < 1500; ++i) {
            std::string b = seed;
            const int changes = 1 + int(r.Below(3));
            for (int k = 0; k < changes; ++k) Mutate(r, b);
            (tps_fixture::ReadAll(b).empty() ? read : failed)++;
        }
    }
    // Both outcomes occur, so the loop reaches past the header checks.
    EXPECT_GT(failed, 0u);
    EXPECT_GT(read, 0u);
}

}  // namespace
