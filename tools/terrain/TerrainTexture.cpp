#include "tools/terrain/TerrainTexture.h"

#include "tools/common/Prng.h"
#include "tools/terrain/HeightMap.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kCellsPerTexel = TerrainTexture::kRepeatCells / TerrainTexture::kSize;

// The texture repeats every 1000 cells but the heights every 1024, so at the
// texture's far edges the colours are faded toward the cells 24 further on:
// those continue into the texture's first row and column without a seam.
constexpr double kWrapShiftCells = HeightMap::kSize - TerrainTexture::kRepeatCells;
constexpr int kWrapFadeTexels = 24;

// Height units per cell step that count as gentle and as cliff-steep.
constexpr double kGentleSlope = 1.2;
constexpr double kSteepSlope = 3.5;
// Exaggerates relief in the hill shading so that the land reads well from far.
constexpr double kShadeRelief = 1.1;
// Random brightness variation per texel, as a fraction.
constexpr double kGrain = 0.04;

double smoothStep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

std::uint8_t toByte(double channel) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(channel, 0.0, 255.0)));
}

} // namespace

TerrainTexture::TerrainTexture(const HeightMap& heights, std::uint64_t seed)
    : heights(heights) {
    Prng grain(seed);
    texels.reserve(static_cast<std::size_t>(kSize) * kSize * 3);
    for (int row = 0; row < kSize; ++row) {
        for (int column = 0; column < kSize; ++column) {
            const Colour colour = texelColour(row, column);
            const double brightness = 1.0 + grain.uniform(-kGrain, kGrain);
            texels.push_back(toByte(colour.blue * brightness));
            texels.push_back(toByte(colour.green * brightness));
            texels.push_back(toByte(colour.red * brightness));
        }
    }
}

TerrainTexture::Colour TerrainTexture::texelColour(int row, int column) const {
    const double mapX = (row + 0.5) * kCellsPerTexel;
    const double mapY = (column + 0.5) * kCellsPerTexel;
    const double fadeX = smoothStep(kSize - kWrapFadeTexels, kSize, row);
    const double fadeY = smoothStep(kSize - kWrapFadeTexels, kSize, column);
    const double shiftedX = mapX + kWrapShiftCells;
    const double shiftedY = mapY + kWrapShiftCells;

    Colour colour = colourAt(mapX, mapY);
    if (fadeY > 0.0) {
        colour = mix(colour, colourAt(mapX, shiftedY), fadeY);
    }
    if (fadeX > 0.0) {
        Colour shifted = colourAt(shiftedX, mapY);
        if (fadeY > 0.0) {
            shifted = mix(shifted, colourAt(shiftedX, shiftedY), fadeY);
        }
        colour = mix(colour, shifted, fadeX);
    }
    return colour;
}

TerrainTexture::Colour TerrainTexture::colourAt(double mapX, double mapY) const {
    const double height = heights.sample(mapX, mapY);
    const double slopeX = (heights.sample(mapX + 1.0, mapY) - heights.sample(mapX - 1.0, mapY)) / 2;
    const double slopeY = (heights.sample(mapX, mapY + 1.0) - heights.sample(mapX, mapY - 1.0)) / 2;
    const double slope = std::sqrt(slopeX * slopeX + slopeY * slopeY);
    const Colour ground = groundColour(height, slope);

    // Sunlight from the low-x, low-y corner, fairly high in the sky.
    const double normalX = -slopeX * kShadeRelief;
    const double normalY = -slopeY * kShadeRelief;
    const double normalLength = std::sqrt(normalX * normalX + normalY * normalY + 1.0);
    const double sunX = -0.5;
    const double sunY = -0.5;
    const double sunZ = 0.7071067811865476;
    const double lit = (normalX * sunX + normalY * sunY + sunZ) / normalLength;
    const double shade = 0.45 + 0.75 * std::max(0.0, lit);
    return {ground.red * shade, ground.green * shade, ground.blue * shade};
}

TerrainTexture::Colour TerrainTexture::groundColour(double height, double slope) {
    const Colour water{38, 86, 150};
    const Colour sand{200, 184, 132};
    const Colour meadow{104, 142, 60};
    const Colour forest{44, 88, 40};
    const Colour heath{112, 112, 64};
    const Colour rock{128, 114, 100};
    const Colour snow{246, 246, 250};

    const double level = (height - HeightMap::kLowest) / (HeightMap::kHighest - HeightMap::kLowest);
    if (level <= 0.0) {
        return water;
    }
    Colour colour = mix(sand, meadow, smoothStep(0.0, 0.05, level));
    colour = mix(colour, forest, smoothStep(0.15, 0.4, level));
    colour = mix(colour, heath, smoothStep(0.45, 0.62, level));
    colour = mix(colour, rock, smoothStep(0.6, 0.75, level));
    colour = mix(colour, rock, smoothStep(kGentleSlope, kSteepSlope, slope));
    const double snowCover =
        smoothStep(0.74, 0.86, level) * (1.0 - smoothStep(kGentleSlope, kSteepSlope * 1.4, slope));
    return mix(colour, snow, snowCover);
}

TerrainTexture::Colour TerrainTexture::mix(const Colour& from, const Colour& to, double t) {
    return {from.red + (to.red - from.red) * t, from.green + (to.green - from.green) * t,
            from.blue + (to.blue - from.blue) * t};
}
