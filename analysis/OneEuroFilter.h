#pragma once

// An adaptive low-pass filter for a noisy signal that a person steers: its
// cutoff rises with the signal's speed, so a still signal is held steady
// while a fast move is followed at once (the "One Euro" filter of Casiez,
// Roussel and Vogel, CHI 2012).
class OneEuroFilter {
public:
    struct Parameters {
        double minCutoffHz;        // cutoff of a still signal: lower is steadier
        double beta;               // cutoff added per unit of speed (units per second)
        double derivativeCutoffHz; // smoothing of the speed estimate itself
    };

    void setParameters(const Parameters& parameters) { settings = parameters; }

    // Filters the next sample, taken elapsedSeconds after the previous one.
    // The first sample after construction or reset() passes unchanged.
    double filter(double sample, double elapsedSeconds);

    // Restarts from value at rest, as if the signal had long stayed there.
    void reset(double value);

    bool started() const { return hasValue; }
    double value() const { return filtered; }

private:
    Parameters settings{1.0, 0.0, 1.0};
    bool hasValue = false;
    double filtered = 0;
    double speed = 0;
};
