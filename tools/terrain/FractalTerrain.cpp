#include "tools/terrain/FractalTerrain.h"

#include "tools/common/Prng.h"

#include <cmath>

namespace {

// Largest lattice period of each layer set, in lattice cells per map width.
constexpr int kWarpFirstPeriod = 2;
constexpr int kWarpOctaves = 3;
constexpr int kHillFirstPeriod = 3;
constexpr int kHillOctaves = 8;
constexpr int kRidgeFirstPeriod = 6;
constexpr int kRidgeOctaves = 6;

// How far, in cells, the warp field bends the landscape.
constexpr double kWarpReach = 70.0;
// Amplitude ratio between successive octaves; higher means rougher.
constexpr double kHillGain = 0.5;
constexpr double kRidgeGain = 0.55;
constexpr double kRidgeWeight = 0.75;

double smoothStep(double edge0, double edge1, double x) {
    const double t = std::fmin(1.0, std::fmax(0.0, (x - edge0) / (edge1 - edge0)));
    return t * t * (3.0 - 2.0 * t);
}

} // namespace

FractalTerrain::FractalTerrain(std::uint64_t seed) {
    Prng prng(seed);
    warpX = makeOctaves(kWarpFirstPeriod, kWarpOctaves, prng);
    warpY = makeOctaves(kWarpFirstPeriod, kWarpOctaves, prng);
    hills = makeOctaves(kHillFirstPeriod, kHillOctaves, prng);
    ridges = makeOctaves(kRidgeFirstPeriod, kRidgeOctaves, prng);
}

FractalTerrain::Octaves FractalTerrain::makeOctaves(int firstPeriod, int count, Prng& prng) {
    Octaves octaves;
    for (int i = 0, period = firstPeriod; i < count; ++i, period *= 2) {
        octaves.layers.emplace_back(period, prng);
        octaves.periods.push_back(period);
    }
    return octaves;
}

double FractalTerrain::layered(const Octaves& octaves, double x, double y, double gain) {
    double sum = 0.0;
    double amplitude = 1.0;
    for (std::size_t i = 0; i < octaves.layers.size(); ++i) {
        const double scale = static_cast<double>(octaves.periods[i]) / kSize;
        sum += amplitude * octaves.layers[i].value(x * scale, y * scale);
        amplitude *= gain;
    }
    return sum;
}

// Folding the noise at zero turns its zero lines into crests; squaring
// sharpens them and each octave is weighted by the one before, so fine
// detail gathers on the ridges and leaves the slopes between them smooth.
double FractalTerrain::ridged(const Octaves& octaves, double x, double y, double gain) {
    double sum = 0.0;
    double amplitude = 1.0;
    double previous = 1.0;
    for (std::size_t i = 0; i < octaves.layers.size(); ++i) {
        const double scale = static_cast<double>(octaves.periods[i]) / kSize;
        const double crest = 1.0 - std::fabs(octaves.layers[i].value(x * scale, y * scale)) * 1.4;
        const double sharpened = crest * crest * previous;
        sum += amplitude * sharpened;
        previous = std::fmin(1.0, sharpened * 1.6);
        amplitude *= gain;
    }
    return sum;
}

double FractalTerrain::elevationAt(double x, double y) const {
    const double bentX = x + kWarpReach * layered(warpX, x, y, 0.5);
    const double bentY = y + kWarpReach * layered(warpY, x, y, 0.5);
    const double hill = layered(hills, bentX, bentY, kHillGain);
    const double mountainShare = smoothStep(-0.05, 0.45, hill);
    return hill + kRidgeWeight * mountainShare * ridged(ridges, bentX, bentY, kRidgeGain);
}

std::vector<double> FractalTerrain::elevation() const {
    std::vector<double> cells(static_cast<std::size_t>(kSize) * kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            cells[static_cast<std::size_t>(y) * kSize + x] = elevationAt(x, y);
        }
    }
    return cells;
}
