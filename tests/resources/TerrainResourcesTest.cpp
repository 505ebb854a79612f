#include "tests/resources/ResourceFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kMapSize = 1024;
constexpr int kTextureSize = 512;
constexpr int kTgaHeaderSize = 18;
// The flight view repeats the texture every 1000 map cells.
constexpr double kTextureRepeatCells = 1000.0;

// The height map and the texture, read once for all cases.
class TerrainResources : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(heights().size(), kMapSize * kMapSize); }

    static const QByteArray& heights() {
        static const QByteArray bytes = ResourceFiles::read(":/gl/Scene/Terrain.raw");
        return bytes;
    }
    static const QByteArray& texture() {
        static const QByteArray bytes = ResourceFiles::read(":/gl/Scene/Color.Tga");
        return bytes;
    }

    static int height(int x, int y) {
        const int wrappedX = (x % kMapSize + kMapSize) % kMapSize;
        const int wrappedY = (y % kMapSize + kMapSize) % kMapSize;
        return static_cast<unsigned char>(heights().at(wrappedY * kMapSize + wrappedX));
    }

    // Mean and largest step between cells (x, y) and (x + dx, y + dy) over
    // the pairs picked by `include`.
    template <typename Filter> static std::pair<double, int> steps(int dx, int dy, Filter include) {
        long long sum = 0;
        int largest = 0;
        int count = 0;
        for (int y = 0; y < kMapSize; ++y) {
            for (int x = 0; x < kMapSize; ++x) {
                if (include(x, y)) {
                    const int step = std::abs(height(x + dx, y + dy) - height(x, y));
                    sum += step;
                    largest = std::max(largest, step);
                    ++count;
                }
            }
        }
        return {static_cast<double>(sum) / count, largest};
    }
};

// Heights span exactly 18 to 212. Steps between neighbours stay small, as on
// natural ground, while the land as a whole has real relief; the last row
// and column continue into the first ones no more abruptly than any two
// neighbouring rows or columns inside the map.
TEST_F(TerrainResources, HeightMapIsSmoothButHillyFrom18To212AndWrapsWithoutASeam) {
    double sum = 0.0;
    double squares = 0.0;
    int lowest = 255;
    int highest = 0;
    for (int y = 0; y < kMapSize; ++y) {
        for (int x = 0; x < kMapSize; ++x) {
            sum += height(x, y);
            squares += static_cast<double>(height(x, y)) * height(x, y);
            lowest = std::min(lowest, height(x, y));
            highest = std::max(highest, height(x, y));
        }
    }
    EXPECT_EQ(lowest, 18);
    EXPECT_EQ(highest, 212);
    const double cells = static_cast<double>(kMapSize) * kMapSize;
    EXPECT_GT(std::sqrt(squares / cells - (sum / cells) * (sum / cells)), 20.0);

    const auto inside = [](int x, int y) { return x < kMapSize - 1 && y < kMapSize - 1; };
    const auto acrossColumns = steps(1, 0, inside);
    const auto acrossRows = steps(0, 1, inside);
    EXPECT_LT(acrossColumns.first, 2.5);
    EXPECT_LT(acrossRows.first, 2.5);
    const auto columnSeam = steps(1, 0, [](int x, int) { return x == kMapSize - 1; });
    const auto rowSeam = steps(0, 1, [](int, int y) { return y == kMapSize - 1; });
    EXPECT_LT(columnSeam.first, 2.0 * acrossColumns.first);
    EXPECT_LE(columnSeam.second, acrossColumns.second);
    EXPECT_LT(rowSeam.first, 2.0 * acrossRows.first);
    EXPECT_LE(rowSeam.second, acrossRows.second);
}

// The texture is an uncompressed 512 by 512 true-colour TGA. The view takes
// its columns from the map's y and its rows, in stored order, from the map's
// x. Texels over the middle of a lake must then show water.
TEST_F(TerrainResources, TextureIsA512By512TrueColourTgaShowingWaterWhereTheMapHasLakes) {
    // Type 2 without an id or a colour map, 0x0200 by 0x0200 pixels of 24 bits.
    const QByteArray header("\0\0\2\0\0\0\0\0\0\0\0\0\0\2\0\2\x18", kTgaHeaderSize - 1);
    EXPECT_EQ(texture().left(kTgaHeaderSize - 1), header);
    ASSERT_EQ(texture().size(), kTgaHeaderSize + kTextureSize * kTextureSize * 3);
    constexpr int kLakeMargin = 4;
    int lakeTexels = 0;
    int blueTexels = 0;
    for (int row = 0; row < kTextureSize; ++row) {
        for (int column = 0; column < kTextureSize; ++column) {
            const int x = static_cast<int>((row + 0.5) * kTextureRepeatCells / kTextureSize);
            const int y = static_cast<int>((column + 0.5) * kTextureRepeatCells / kTextureSize);
            bool deepInLake = true;
            for (int dy = -kLakeMargin; dy <= kLakeMargin && deepInLake; ++dy) {
                for (int dx = -kLakeMargin; dx <= kLakeMargin && deepInLake; ++dx) {
                    deepInLake = height(x + dx, y + dy) == 18;
                }
            }
            if (deepInLake) {
                ++lakeTexels;
                const auto* bgr = reinterpret_cast<const unsigned char*>(texture().constData()) +
                                  kTgaHeaderSize + (row * kTextureSize + column) * 3;
                blueTexels += bgr[0] > bgr[1] && bgr[0] > bgr[2] ? 1 : 0;
            }
        }
    }
    ASSERT_GT(lakeTexels, 100);
    EXPECT_GT(blueTexels, lakeTexels * 95 / 100);
}

} // namespace
