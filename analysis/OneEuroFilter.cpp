#include "analysis/OneEuroFilter.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Weight of the new sample in a first-order low-pass with this cutoff.
double smoothingFactor(double cutoffHz, double elapsedSeconds) {
    const double timeConstant = 1.0 / (2 * kPi * cutoffHz);
    return 1.0 / (1.0 + timeConstant / elapsedSeconds);
}

} // namespace

double OneEuroFilter::filter(double sample, double elapsedSeconds) {
    if (!hasValue || !(elapsedSeconds > 0)) {
        if (!hasValue) {
            reset(sample);
        }
        return filtered;
    }
    const double rawSpeed = (sample - filtered) / elapsedSeconds;
    speed += smoothingFactor(settings.derivativeCutoffHz, elapsedSeconds) * (rawSpeed - speed);
    const double cutoff = settings.minCutoffHz + settings.beta * std::fabs(speed);
    if (cutoff > 0) {
        filtered += smoothingFactor(cutoff, elapsedSeconds) * (sample - filtered);
    }
    return filtered;
}

void OneEuroFilter::reset(double value) {
    hasValue = true;
    filtered = value;
    speed = 0;
}
