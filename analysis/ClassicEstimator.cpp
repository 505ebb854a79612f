#include "analysis/ClassicEstimator.h"

bool ClassicEstimator::update(const FrameEvidence& frame, int32_t rollResponse,
                              int32_t pitchResponse) {
    return attitude.update(frame.candidates, rollResponse, pitchResponse);
}
