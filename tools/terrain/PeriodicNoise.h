#pragma once

#include <cstdint>
#include <vector>

class Prng;

// Gradient noise on a square lattice that repeats every `period` lattice cells
// in both directions, so anything built from it tiles without a seam. Values
// lie roughly in [-0.7, 0.7].
class PeriodicNoise {
public:
    PeriodicNoise(int period, Prng& prng);

    // u and v are in lattice cells and may be any real number.
    double value(double u, double v) const;

private:
    double dotGradient(int cellU, int cellV, double offsetU, double offsetV) const;

    int period;
    std::vector<double> gradientU;
    std::vector<double> gradientV;
};
