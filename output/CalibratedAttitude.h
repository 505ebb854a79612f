#pragma once

// One attitude on the outputs' common scale: each axis in [-1, 1], roll
// positive when the user's right hand is lower (bank right), pitch positive
// when the arms are raised (nose up). Each sink turns it into its own units.
struct CalibratedAttitude {
    double roll = 0;
    double pitch = 0;
};
