#pragma once

#include "analysis/Line.h"

#include <cstdint>

// The plausible candidates of one detection, weighed by their position.
struct CandidateWeights {
    double angleSum = 0;  // Σ w·θ
    double offsetSum = 0; // Σ w·ρ / sin θ
    int32_t weight = 0;   // Σ w
};

// Turns detected lines into a smoothed line angle and vertical offset, and
// those into roll and pitch. Looks at the first 15 candidates, accepts lines
// within 60 degrees of horizontal and less than 45 degrees from the current
// estimate, and drifts back to level once the line has been lost for a while.
class AttitudeEstimator {
public:
    // Frames without an accepted line after which the estimate drifts to level.
    static constexpr int32_t kMissesBeforeLost = 45;

    CandidateWeights weigh(const LineList& candidates) const;

    // Weighs the candidates and moves the estimate toward them, each axis by
    // response/200 of the way. Returns whether the estimate was updated.
    bool update(const LineList& candidates, int32_t rollResponse, int32_t pitchResponse);

    // Roll is 127.5 for a level line and moves by 255/(width div 2) per degree
    // of tilt; pitch is 0 for a line through the centre, negative above it.
    float roll(int32_t frameWidth) const;
    float pitch(int32_t frameHeight) const;

    double smoothedAngle() const { return angle; }
    double smoothedOffset() const { return offset; }
    int32_t missCount() const { return misses; }

private:
    void smooth(double measuredAngle, double measuredOffset, int32_t rollResponse,
                int32_t pitchResponse);

    double angle = 90.0; // degrees, 90 = level
    double offset = 0.0; // pixels below the centre, at the centre column
    int32_t misses = 0;  // frames in a row without an accepted candidate
};
