#include "capture/PixelWidening.h"
#include "capture/WideVectorClones.h"

#include <QtEndian>

#include <cstring>

namespace {
constexpr std::size_t kSourceBytesPerPixel = 3;
constexpr std::size_t kFrameBytesPerPixel = 4;
} // namespace

// Each pixel is put together as one 32-bit word, stored in one go: unlike
// three separate byte stores, that the vectoriser turns into shuffles of
// whole vectors, which makes the widening several times faster.
WIDE_VECTOR_CLONES void widenToFourBytesPerPixel(const uint8_t* source, std::size_t sourceBytes,
                                                 uint8_t* destination) {
    const std::size_t pixels = sourceBytes / kSourceBytesPerPixel;
    for (std::size_t pixel = 0; pixel < pixels; ++pixel) {
        const uint8_t* from = source + pixel * kSourceBytesPerPixel;
        const quint32 word =
            qToLittleEndian(quint32(from[0]) | quint32(from[1]) << 8 | quint32(from[2]) << 16);
        std::memcpy(destination + pixel * kFrameBytesPerPixel, &word, sizeof word);
    }
}
