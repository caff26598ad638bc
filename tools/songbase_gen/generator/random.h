#pragma once
// A small seeded random source whose sequence is the same on every
// platform and library (the standard distributions are not).

#include <cstdint>

namespace songbase_gen {

class Random {
public:
    explicit Random(std::uint64_t seed);

    std::uint64_t Next();
    // Uniform in [lo, hi].
    int Between(int lo, int hi);
    // Uniform in [0, 1).
    double Unit();
    // True with the given probability.
    bool Chance(double p) { return Unit() < p; }

private:
    std::uint64_t s_[4];
};

}  // namespace songbase_gen
