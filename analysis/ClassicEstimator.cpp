#include "analysis/ClassicEstimator.h"

bool ClassicEstimator::update(const FrameEvidence& frame, int32_t rollResponse,
                              int32_t pitchResponse) {
    const bool updated = attitude.update(frame.candidates, rollResponse, pitchResponse);
    // An update with no misses counted took a line; one while lost only drifts.
    everAccepted = everAccepted || (updated && attitude.missCount() == 0);
    return updated;
}

TrackingState ClassicEstimator::trackingState() const {
    return trackingStateAfter(everAccepted, attitude.missCount(),
                              AttitudeEstimator::kMissesBeforeLost);
}
