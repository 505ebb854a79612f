#include "tools/common/Prng.h"

std::uint64_t Prng::nextBits() {
    state += 0x9E3779B97F4A7C15ull;
    std::uint64_t mixed = state;
    mixed = (mixed ^ (mixed >> 30)) * 0xBF58476D1CE4E5B9ull;
    mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBull;
    return mixed ^ (mixed >> 31);
}

double Prng::uniform() {
    // The top 53 bits fill a double's mantissa exactly.
    constexpr double kTwoToMinus53 = 1.0 / 9007199254740992.0;
    return static_cast<double>(nextBits() >> 11) * kTwoToMinus53;
}
