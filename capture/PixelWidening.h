#pragma once

#include <cstddef>
#include <cstdint>

// Widens 24-bit pixels (blue, green, red) to 32-bit ones whose fourth byte is
// 0. sourceBytes is a multiple of 3; the destination holds sourceBytes / 3 * 4
// bytes.
void widenToFourBytesPerPixel(const uint8_t* source, std::size_t sourceBytes, uint8_t* destination);
