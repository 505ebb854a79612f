#include "tools/terrain/TgaEncoder.h"

namespace {

constexpr char kUncompressedTrueColour = 2;
constexpr char kBitsPerPixel = 24;
// Descriptor bit 5 marks the first stored row as the top one, so that image
// viewers show the rows in the order the flight view uses them.
constexpr char kTopRowFirst = 0x20;

void appendLittleEndian16(QByteArray& bytes, int value) {
    bytes.append(static_cast<char>(value & 0xFF));
    bytes.append(static_cast<char>((value >> 8) & 0xFF));
}

} // namespace

QByteArray TgaEncoder::encode(int width, int height, const std::vector<std::uint8_t>& bgrPixels) {
    QByteArray bytes;
    bytes.append(static_cast<char>(0)); // image id length
    bytes.append(static_cast<char>(0)); // no colour map
    bytes.append(kUncompressedTrueColour);
    bytes.append(QByteArray(5, '\0')); // colour map fields, unused without a colour map
    appendLittleEndian16(bytes, 0);    // x origin
    appendLittleEndian16(bytes, 0);    // y origin
    appendLittleEndian16(bytes, width);
    appendLittleEndian16(bytes, height);
    bytes.append(kBitsPerPixel);
    bytes.append(kTopRowFirst);
    bytes.append(reinterpret_cast<const char*>(bgrPixels.data()),
                 static_cast<int>(bgrPixels.size()));
    return bytes;
}
