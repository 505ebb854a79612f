#pragma once

#include <cstdint>
#include <vector>

class HeightMap;

// The terrain's colour picture, kSize x kSize texels, coloured from the
// heights and slopes of the height map it lies on.
//
// The flight view takes the texture's s coordinate from the map's y and its
// t from the map's x, and repeats it every kRepeatCells cells, using the rows
// in stored order. So stored row r, column c covers the map cell
// (x, y) = (r, c) * kRepeatCells / kSize: the picture is the map transposed.
class TerrainTexture {
public:
    static constexpr int kSize = 512;
    static constexpr double kRepeatCells = 1000.0;

    TerrainTexture(const HeightMap& heights, std::uint64_t seed);

    // kSize rows of kSize texels, bytes blue, green, red, rows in stored order.
    const std::vector<std::uint8_t>& bgrTexels() const { return texels; }

private:
    struct Colour {
        double red;
        double green;
        double blue;
    };

    Colour texelColour(int row, int column) const;
    Colour colourAt(double mapX, double mapY) const;
    static Colour groundColour(double height, double slope);
    static Colour mix(const Colour& from, const Colour& to, double t);

    const HeightMap& heights;
    std::vector<std::uint8_t> texels;
};
