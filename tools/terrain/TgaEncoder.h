#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

// Encodes an uncompressed 24-bit true-colour TGA: an 18-byte header with no
// image id and no colour map, then the pixels as given.
class TgaEncoder {
public:
    // bgrPixels holds width x height pixels, bytes blue, green, red, first row first.
    static QByteArray encode(int width, int height, const std::vector<std::uint8_t>& bgrPixels);
};
