#pragma once

#include <cmath>

// A line as the estimators keep it: its angle in degrees (90 = level) and its
// height in pixels below the picture's centre, at the centre column.
struct ArmLine {
    double angleDegrees;
    double offset;

    // Rows the line climbs down per column.
    double slope() const {
        const double angle = angleDegrees * 3.14159265358979323846 / 180;
        return -std::cos(angle) / std::sin(angle);
    }
};
