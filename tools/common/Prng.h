#pragma once

#include <cstdint>

// A small seeded generator (SplitMix64) so that every generated resource comes
// out byte for byte the same on every machine and every build; the standard
// library's engines and distributions leave too much to the implementation.
class Prng {
public:
    explicit Prng(std::uint64_t seed)
        : state(seed) {}

    std::uint64_t nextBits();
    // Uniform in [0, 1).
    double uniform();
    // Uniform in [low, high).
    double uniform(double low, double high) { return low + (high - low) * uniform(); }

private:
    std::uint64_t state;
};
