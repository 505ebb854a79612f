#pragma once

#include "analysis/AttitudeEstimator.h"
#include "analysis/LineEstimator.h"

// The estimator as first built: a weighted average of the first fifteen
// plausible lines, smoothed at a fixed rate, updated and drawn only in frames
// that accept a line (or while it drifts back to level).
class ClassicEstimator : public LineEstimator {
public:
    bool update(const FrameEvidence& frame, int32_t rollResponse, int32_t pitchResponse) override;
    double smoothedAngle() const override { return attitude.smoothedAngle(); }
    double smoothedOffset() const override { return attitude.smoothedOffset(); }
    bool showsLineAfter(bool updated) const override { return updated; }
    TrackingState trackingState() const override;

private:
    AttitudeEstimator attitude;
    bool everAccepted = false;
};
