#pragma once

#include "analysis/Line.h"
#include "analysis/TrackingState.h"
#include "capture/Image.h"

#include <cstdint>

// What one frame offers an estimator: the detector's latest lines (those of an
// earlier frame when the motion gate stayed shut) and the frame's mirrored
// grey picture.
struct FrameEvidence {
    const LineList& candidates;
    const I::Image& grey;
    bool detectorRan;
};

// Turns the evidence of each frame into a smoothed line: its angle (degrees,
// 90 = level) and its height below the picture's centre at the centre column.
class LineEstimator {
public:
    virtual ~LineEstimator() = default;

    // Moves the estimate; returns whether it changed and is to be emitted.
    // Responses are the weights the window's sliders set, 0 to 200.
    virtual bool update(const FrameEvidence& frame, int32_t rollResponse,
                        int32_t pitchResponse) = 0;

    virtual double smoothedAngle() const = 0;
    virtual double smoothedOffset() const = 0;

    // Whether the picture of a frame shows the estimated line, given whether
    // that frame updated the estimate.
    virtual bool showsLineAfter(bool updated) const = 0;

    // Whether the estimate rests on the arms, as of the last update.
    virtual TrackingState trackingState() const = 0;
};

// Roll is 127.5 for a level line and moves by 255/(width div 2) per degree of
// tilt; pitch is 0 for a line through the centre, negative above it.
float rollOf(double angleDegrees, int32_t frameWidth);
float pitchOf(double offset, int32_t frameHeight);
