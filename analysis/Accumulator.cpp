#include "analysis/Accumulator.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kHalfTurnDegrees = 180.0;

void growTo(std::vector<double>& table, std::size_t size) {
    if (table.size() < size) {
        table.resize(size);
    }
}
} // namespace

void Accumulator::init(uint32_t newWidth, uint32_t newHeight, double newDelta) {
    if (shaped && newWidth == width && newHeight == height && newDelta == delta) {
        // Clearing only the voted cells keeps a call from touching the whole
        // table, most of which never receives a vote.
        for (uint32_t cell : votedCells) {
            bins[cell] = 0;
        }
        votedCells.clear();
        return;
    }
    reshape(newWidth, newHeight, newDelta);
}

void Accumulator::reshape(uint32_t newWidth, uint32_t newHeight, double newDelta) {
    width = newWidth;
    height = newHeight;
    delta = newDelta;
    const double diag = std::sqrt(double(width) * width + double(height) * height);
    rhoSize = uint32_t((diag + 1) / delta);
    thetaSize = uint32_t(kHalfTurnDegrees / delta);

    growTo(rhoValues, rhoSize + 2);
    for (uint32_t i = 1; i <= rhoSize; ++i) {
        rhoValues[i] = -diag / 2 + (i - 1) * delta;
    }
    growTo(thetaValues, thetaSize + 2);
    for (uint32_t i = 1; i <= thetaSize; ++i) {
        thetaValues[i] = (i - 1) * delta;
    }
    rhoStart = -diag / 2;
    rhoEnd = diag / 2;
    thetaStart = 0;
    thetaEnd = kHalfTurnDegrees - delta;

    bins.assign(cellCount(), 0);
    votedCells.clear();
    shaped = true;
}
