#include "tools/terrain/HeightMap.h"

#include <algorithm>
#include <cmath>

namespace {

// Share of the map that lies under the lakes' flat surface.
constexpr double kWaterShare = 0.06;

int wrap(int index) {
    return index & (HeightMap::kSize - 1);
}

} // namespace

HeightMap HeightMap::fromElevation(const std::vector<double>& elevation) {
    std::vector<double> sorted = elevation;
    const auto waterRank = static_cast<std::ptrdiff_t>(kWaterShare * sorted.size());
    std::nth_element(sorted.begin(), sorted.begin() + waterRank, sorted.end());
    const double waterLevel = sorted[static_cast<std::size_t>(waterRank)];
    const double peak = *std::max_element(elevation.begin(), elevation.end());

    HeightMap map;
    map.cells.resize(elevation.size());
    const double span = kHighest - kLowest;
    for (std::size_t i = 0; i < elevation.size(); ++i) {
        const double aboveWater = std::max(0.0, elevation[i] - waterLevel) / (peak - waterLevel);
        map.cells[i] = static_cast<std::uint8_t>(kLowest + std::lround(aboveWater * span));
    }
    return map;
}

int HeightMap::at(int x, int y) const {
    return cells[static_cast<std::size_t>(wrap(y)) * kSize + wrap(x)];
}

double HeightMap::sample(double x, double y) const {
    const double floorX = std::floor(x);
    const double floorY = std::floor(y);
    const int cellX = static_cast<int>(floorX);
    const int cellY = static_cast<int>(floorY);
    const double fracX = x - floorX;
    const double fracY = y - floorY;
    const double top = at(cellX, cellY) + (at(cellX + 1, cellY) - at(cellX, cellY)) * fracX;
    const double bottom =
        at(cellX, cellY + 1) + (at(cellX + 1, cellY + 1) - at(cellX, cellY + 1)) * fracX;
    return top + (bottom - top) * fracY;
}
