#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <vector>

// Writes a single-frame GIF89a, which Qt can read but not write. Pixels under
// half opacity become the transparent colour; the others are blended over
// `matte` (GIF knows no partial transparency) and take one of at most 255
// colours.
class GifEncoder {
public:
    static QByteArray encode(const QImage& image, QRgb matte);

private:
    struct Indexed {
        std::vector<QRgb> palette; // entry 0 is the transparent colour
        std::vector<std::uint8_t> pixels;
    };

    static Indexed toIndexed(const QImage& image, QRgb matte);
    static QByteArray compress(const std::vector<std::uint8_t>& pixels, int minimumCodeSize);
};
