#include "output/Calibration.h"

#include <algorithm>
#include <cmath>

namespace {

// The estimator centres roll on this value already; pitch is centred on 0 and
// is moved onto the sliders' scale by it.
constexpr double kSliderCentre = 127.5;
constexpr int kSliderLowest = 0;
constexpr int kSliderHighest = 255;

// Where v lies between the zero and the limit on its side, as a fraction of
// that side. A side whose limit is not beyond the zero has no travel and gives
// 0: the window keeps the limits in order, but a hand-edited settings file
// read by the tracker may not, and dividing by a negative span there would
// send the axis the wrong way.
double positionOnAxis(double v, const AxisCalibration& axis) {
    const double span = v >= axis.zero ? axis.maximum - axis.zero : axis.zero - axis.minimum;
    if (span <= 0) {
        return 0;
    }
    return std::clamp((v - axis.zero) / span, -1.0, 1.0);
}

// Adding 0.0 turns a negative zero into a positive one, so that a centred axis
// reads the same in every output's bytes whichever way it is inverted.
double applyInversion(double position, const AxisCalibration& axis) {
    return (axis.inverted ? -position : position) + 0.0;
}

int toSlider(double v) {
    return int(std::clamp(std::lround(v), long(kSliderLowest), long(kSliderHighest)));
}

} // namespace

CalibratedAttitude Calibration::calibrate(float _roll, float _pitch) const {
    // The estimator works in the mirrored picture, where the user's right hand
    // is on the right: that hand lower tilts the line down to the right, which
    // raises the emitted roll. Roll therefore already has the outputs' sense.
    const double rollPosition = positionOnAxis(_roll, roll);
    // Pitch is negative for a line above the picture's centre, so raised arms
    // give a value below the zero. Nose up must be positive on every output,
    // so the axis is turned round here, before the user's own inversion.
    const double pitchPosition = -positionOnAxis(_pitch + kSliderCentre, pitch);
    return {applyInversion(rollPosition, roll), applyInversion(pitchPosition, pitch)};
}

CentredZeros Calibration::centredZeros(float _roll, float _pitch) {
    return {toSlider(_roll), toSlider(_pitch + kSliderCentre)};
}
