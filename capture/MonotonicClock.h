#pragma once

#include <cstdint>

// The clock every frame's capture time is told on: CLOCK_MONOTONIC, the one
// the kernel stamps camera buffers with and GStreamer's system clock runs
// on, so times taken in any of them can be subtracted from one another.
namespace monotonic_clock {

int64_t nowNanoseconds();

} // namespace monotonic_clock
