#pragma once

#include <vector>

// A line xc·cos θ + yc·sin θ = ρ in coordinates centred on the picture, with y
// growing downward: θ = 90 is horizontal and ρ then its distance below the
// centre; θ = 0 is vertical and ρ its distance right of the centre.
struct Line {
    double rho;   // pixels
    double theta; // degrees, 0 <= θ < 180
};

// Detected lines, strongest first. The caller keeps the list between
// detections, so its storage is reused and only grows.
using LineList = std::vector<Line>;
