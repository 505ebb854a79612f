#pragma once

#include "output/Calibration.h"

// The calibration the window saved with its settings when it last closed, or
// the defaults where it saved none.
Calibration savedCalibration();
