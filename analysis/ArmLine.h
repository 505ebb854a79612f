#pragma once

// A line as the estimators keep it: its angle in degrees (90 = level) and its
// height in pixels below the picture's centre, at the centre column.
struct ArmLine {
    double angleDegrees;
    double offset;
};
