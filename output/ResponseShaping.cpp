#include "output/ResponseShaping.h"

#include <cmath>

// Beyond the dead zone the rest of the travel is stretched back over [0, 1],
// so that a full deflection still gives a full output. With the defaults
// every step is exact in floating point, so the outputs' bytes are those of
// the unshaped value.
double AxisResponse::shape(double a) const {
    const double magnitude = std::fabs(a);
    if (magnitude <= deadZone) {
        return 0;
    }
    const double stretched = std::copysign((magnitude - deadZone) / (1 - deadZone), a);
    const double curved = (1 - expo) * stretched + expo * stretched * stretched * stretched;
    return limit * curved;
}

CalibratedAttitude ResponseShaping::shape(const CalibratedAttitude& calibrated) const {
    return {roll.shape(calibrated.roll), pitch.shape(calibrated.pitch)};
}
