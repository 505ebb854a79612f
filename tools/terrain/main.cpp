#include "tools/common/OutputFile.h"
#include "tools/terrain/FractalTerrain.h"
#include "tools/terrain/HeightMap.h"
#include "tools/terrain/TerrainTexture.h"
#include "tools/terrain/TgaEncoder.h"

#include <QString>

#include <cstdio>

// Writes the terrain height map and its colour texture:
//   zaredezid_make_terrain <Terrain.raw> <Color.Tga>
int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <height map file> <texture file>\n", argv[0]);
        return 2;
    }
    constexpr std::uint64_t kLandscapeSeed = 0x5A52445A4C414E44ull;
    constexpr std::uint64_t kGrainSeed = 0x5A52445A47524149ull;

    const HeightMap heights = HeightMap::fromElevation(FractalTerrain(kLandscapeSeed).elevation());
    const TerrainTexture texture(heights, kGrainSeed);

    const QByteArray heightBytes(reinterpret_cast<const char*>(heights.bytes().data()),
                                 static_cast<int>(heights.bytes().size()));
    const QByteArray tgaBytes =
        TgaEncoder::encode(TerrainTexture::kSize, TerrainTexture::kSize, texture.bgrTexels());
    const bool written = OutputFile::write(QString::fromLocal8Bit(argv[1]), heightBytes) &&
                         OutputFile::write(QString::fromLocal8Bit(argv[2]), tgaBytes);
    return written ? 0 : 1;
}
