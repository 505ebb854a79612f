#pragma once

#include <cstdint>
#include <vector>

// The terrain heights as stored in the height-map file: kSize x kSize bytes,
// row y holding the cells (0..kSize-1, y), repeating in both directions.
class HeightMap {
public:
    static constexpr int kSize = 1024;
    static constexpr int kLowest = 18;
    static constexpr int kHighest = 212;

    // Scales an elevation field so that it spans exactly kLowest..kHighest,
    // the deepest part flooded flat at kLowest as lakes.
    static HeightMap fromElevation(const std::vector<double>& elevation);

    int at(int x, int y) const;
    // Bilinear height between cells; x and y in cells, wrapping.
    double sample(double x, double y) const;
    bool isWater(int x, int y) const { return at(x, y) == kLowest; }
    const std::vector<std::uint8_t>& bytes() const { return cells; }

private:
    std::vector<std::uint8_t> cells;
};
