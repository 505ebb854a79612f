#pragma once

#include "output/CalibratedAttitude.h"

// How one axis answers the calibrated value before it reaches the outputs: a
// dead zone around the centre, a curve gentle near the centre and steep at
// the ends, and a limit. The defaults pass every value through unchanged.
struct AxisResponse {
    static constexpr double kMaxDeadZone = 0.5;
    static constexpr double kMaxExpo = 1.0;
    static constexpr double kMinLimit = 0.1;
    static constexpr double kMaxLimit = 1.0;

    double deadZone = 0;
    double expo = 0;
    double limit = 1;

    // a is a calibrated axis in [-1, 1]; the result is too.
    double shape(double a) const;
};

// The response of both axes, applied to every calibrated attitude the
// outputs get.
class ResponseShaping {
public:
    AxisResponse roll;
    AxisResponse pitch;

    CalibratedAttitude shape(const CalibratedAttitude& calibrated) const;
};
