#pragma once

#include "tools/terrain/PeriodicNoise.h"

#include <cstdint>
#include <vector>

// Synthesises a wrapping fractal landscape: rolling hills from layered noise,
// sharp ridges where the hills rise high, and coordinates bent by a slow
// warp field so that valleys meander instead of following the lattice.
class FractalTerrain {
public:
    static constexpr int kSize = 1024;

    explicit FractalTerrain(std::uint64_t seed);

    // Unscaled elevation of every cell, row-major, kSize x kSize.
    std::vector<double> elevation() const;

private:
    struct Octaves {
        std::vector<PeriodicNoise> layers;
        std::vector<int> periods;
    };

    static Octaves makeOctaves(int firstPeriod, int count, Prng& prng);
    static double layered(const Octaves& octaves, double x, double y, double gain);
    static double ridged(const Octaves& octaves, double x, double y, double gain);
    double elevationAt(double x, double y) const;

    Octaves warpX;
    Octaves warpY;
    Octaves hills;
    Octaves ridges;
};
