#include "analysis/LineEstimator.h"

namespace {
constexpr double kLevelAngle = 90.0;
constexpr double kOutputScale = 255.0;
constexpr double kOutputCentre = 127.5;
} // namespace

float rollOf(double angleDegrees, int32_t frameWidth) {
    return float((angleDegrees - kLevelAngle) * kOutputScale / (frameWidth / 2) + kOutputCentre);
}

float pitchOf(double offset, int32_t frameHeight) {
    return float((frameHeight + offset) * kOutputScale / (2 * frameHeight) - kOutputCentre);
}
