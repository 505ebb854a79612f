#include "analysis/AttitudeEstimator.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kCandidatesLookedAt = 15;
constexpr int kTopCandidateWeight = 16;
constexpr double kSteepestAngle = 30.0;
constexpr double kFlattestAngle = 150.0;
constexpr double kLargestJump = 45.0;
constexpr int32_t kWeightToEndLost = 23;
constexpr double kResponseDenominator = 200.0;
constexpr double kLevelAngle = 90.0;
constexpr double kOutputScale = 255.0;
constexpr double kOutputCentre = 127.5;
constexpr double kPi = 3.14159265358979323846;

} // namespace

CandidateWeights AttitudeEstimator::weigh(const LineList& candidates) const {
    CandidateWeights weights;
    const int looked = std::min(int(candidates.size()), kCandidatesLookedAt);
    for (int position = 0; position < looked; ++position) {
        const Line& line = candidates[position];
        const bool plausible = std::fabs(angle - line.theta) < kLargestJump &&
                               line.theta > kSteepestAngle && line.theta < kFlattestAngle;
        if (!plausible) {
            continue;
        }
        const int weight = kTopCandidateWeight - position;
        weights.angleSum += weight * line.theta;
        // ρ / sin θ is the line's height below the centre at the centre column.
        weights.offsetSum += (weight * line.rho) / std::sin(line.theta * kPi / 180);
        weights.weight += weight;
    }
    return weights;
}

bool AttitudeEstimator::update(const LineList& candidates, int32_t rollResponse,
                               int32_t pitchResponse) {
    const CandidateWeights weights = weigh(candidates);
    if (misses > kMissesBeforeLost && weights.weight < kWeightToEndLost) {
        // Lost: drift back to level. The miss count stays, so only a frame
        // with a clearly found line ends this state.
        smooth(kLevelAngle, 0.0, rollResponse, pitchResponse);
        return true;
    }
    if (weights.weight <= 0) {
        ++misses;
        return false;
    }
    smooth(weights.angleSum / weights.weight, weights.offsetSum / weights.weight, rollResponse,
           pitchResponse);
    misses = 0;
    return true;
}

float AttitudeEstimator::roll(int32_t frameWidth) const {
    return float((angle - kLevelAngle) * kOutputScale / (frameWidth / 2) + kOutputCentre);
}

float AttitudeEstimator::pitch(int32_t frameHeight) const {
    return float((frameHeight + offset) * kOutputScale / (2 * frameHeight) - kOutputCentre);
}

void AttitudeEstimator::smooth(double measuredAngle, double measuredOffset, int32_t rollResponse,
                               int32_t pitchResponse) {
    angle = (measuredAngle * rollResponse + (kResponseDenominator - rollResponse) * angle) /
            kResponseDenominator;
    offset = (measuredOffset * pitchResponse + (kResponseDenominator - pitchResponse) * offset) /
             kResponseDenominator;
}
