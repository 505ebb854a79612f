#include "analysis/TrackingState.h"

namespace {
// A frame or two without the arms happens in every pose (a blurred move, a
// hand before the body); only a longer gap is worth telling the user about.
constexpr int32_t kMissesStillTracking = 5;
} // namespace

TrackingState trackingStateAfter(bool everMeasured, int32_t misses, int32_t missesBeforeLost) {
    if (!everMeasured)
        return TrackingState::Searching;
    if (misses > missesBeforeLost)
        return TrackingState::Lost;
    return misses < kMissesStillTracking ? TrackingState::Tracking : TrackingState::Searching;
}

const char* trackingStateName(TrackingState state) {
    switch (state) {
    case TrackingState::Tracking:
        return "tracking";
    case TrackingState::Lost:
        return "lost";
    case TrackingState::Searching:
        break;
    }
    return "searching";
}
