#pragma once

#include "output/Calibration.h"
#include "output/ResponseShaping.h"

// The calibration the window saved with its settings when it last closed, or
// the defaults where it saved none.
Calibration savedCalibration();

// The response of each axis as the window saved it, brought into range.
ResponseShaping savedResponse();
