#pragma once

#include "output/CalibratedAttitude.h"

// How one axis of the attitude is put on the outputs' scale, in the units of
// the window's minimum, zero and maximum sliders (0 to 255).
struct AxisCalibration {
    int zero = 127;
    int minimum = 0;
    int maximum = 255;
    bool inverted = false;
};

// Zero values that make the current attitude the centre of both axes, on the
// sliders' scale; the window still puts them in order with the limits.
struct CentredZeros {
    int roll = 127;
    int pitch = 127;
};

// Turns the estimator's attitude into the calibrated pair every output sends,
// with the zero, limits and inversion the user set for each axis.
class Calibration {
public:
    AxisCalibration roll;
    AxisCalibration pitch;

    // _roll and _pitch exactly as VideoProcessor::dataUpdate emits them.
    CalibratedAttitude calibrate(float _roll, float _pitch) const;

    static CentredZeros centredZeros(float _roll, float _pitch);
};
