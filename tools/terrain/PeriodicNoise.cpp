#include "tools/terrain/PeriodicNoise.h"

#include "tools/common/Prng.h"

#include <cmath>

namespace {

int wrapIndex(int index, int period) {
    const int remainder = index % period;
    return remainder < 0 ? remainder + period : remainder;
}

// The quintic ease keeps the second derivative continuous across lattice
// lines, which avoids visible creases in the shaded terrain.
double fade(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

double lerp(double from, double to, double t) {
    return from + (to - from) * t;
}

} // namespace

PeriodicNoise::PeriodicNoise(int period, Prng& prng)
    : period(period)
    , gradientU(static_cast<std::size_t>(period) * period)
    , gradientV(static_cast<std::size_t>(period) * period) {
    // Directions come from points picked in the unit disc and normalised with
    // sqrt, which is exactly rounded everywhere, unlike the library's sin/cos.
    for (std::size_t i = 0; i < gradientU.size(); ++i) {
        double u = 0.0;
        double v = 0.0;
        double lengthSquared = 0.0;
        do {
            u = prng.uniform(-1.0, 1.0);
            v = prng.uniform(-1.0, 1.0);
            lengthSquared = u * u + v * v;
        } while (lengthSquared > 1.0 || lengthSquared < 1e-4);
        const double length = std::sqrt(lengthSquared);
        gradientU[i] = u / length;
        gradientV[i] = v / length;
    }
}

double PeriodicNoise::dotGradient(int cellU, int cellV, double offsetU, double offsetV) const {
    const std::size_t index =
        static_cast<std::size_t>(wrapIndex(cellV, period)) * period + wrapIndex(cellU, period);
    return gradientU[index] * offsetU + gradientV[index] * offsetV;
}

double PeriodicNoise::value(double u, double v) const {
    const double floorU = std::floor(u);
    const double floorV = std::floor(v);
    const int cellU = static_cast<int>(floorU);
    const int cellV = static_cast<int>(floorV);
    const double fracU = u - floorU;
    const double fracV = v - floorV;

    const double top = lerp(dotGradient(cellU, cellV, fracU, fracV),
                            dotGradient(cellU + 1, cellV, fracU - 1.0, fracV), fade(fracU));
    const double bottom =
        lerp(dotGradient(cellU, cellV + 1, fracU, fracV - 1.0),
             dotGradient(cellU + 1, cellV + 1, fracU - 1.0, fracV - 1.0), fade(fracU));
    return lerp(top, bottom, fade(fracV));
}
