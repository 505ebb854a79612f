#include "capture/MonotonicClock.h"

#include <ctime>

namespace monotonic_clock {

namespace {
constexpr int64_t kNanosecondsPerSecond = 1000000000;
} // namespace

int64_t nowNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

} // namespace monotonic_clock
