#include "capture/PixelWidening.h"

namespace {
constexpr std::size_t kSourceBytesPerPixel = 3;
constexpr std::size_t kFrameBytesPerPixel = 4;
} // namespace

void widenToFourBytesPerPixel(const uint8_t* source, std::size_t sourceBytes,
                              uint8_t* destination) {
    for (std::size_t from = 0, to = 0; from + kSourceBytesPerPixel <= sourceBytes;
         from += kSourceBytesPerPixel, to += kFrameBytesPerPixel) {
        destination[to] = source[from];
        destination[to + 1] = source[from + 1];
        destination[to + 2] = source[from + 2];
    }
}
