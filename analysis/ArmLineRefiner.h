#pragma once

#include "capture/Image.h"

#include <optional>
#include <vector>

// A line as the estimators keep it: its angle in degrees (90 = level) and its
// height in pixels below the picture's centre, at the centre column.
struct ArmLine {
    double angleDegrees;
    double offset;
};

// A refined line and the share, 0 to 1, of the columns looked at whose
// midpoints lie on it: an arm across the picture has most of them.
struct ArmFit {
    ArmLine line;
    double support;
};

// Finds the centre line of an outstretched arm near a first guess. The
// detector's strongest line is accurate in angle but lies on one of the arm's
// two edges; in every column near the guess this looks for the arm's two
// edges, a rise and a fall in brightness across it, takes the point halfway
// between them, and fits a straight line through those midpoints by least
// squares, dropping the columns that disagree (the head, a picture frame).
// A first pass searches a band wide enough to reach across the arm from
// either edge; a second searches only the arm found, so that stronger edges
// near it cannot pull its columns away. The edges are located to a fraction
// of a pixel, so the fit is finer than the detector's half-pixel, half-degree
// grid.
class ArmLineRefiner {
public:
    // The arm's centre line in the mirrored grey picture, or nothing when too
    // few columns show a pair of edges on one line near the guess.
    std::optional<ArmFit> refine(const I::Image& grey, const ArmLine& guess);

private:
    struct Midpoint {
        double xc;        // column, from the picture's centre
        double yc;        // row halfway between the edges, from the picture's centre
        double thickness; // rows between the edges
    };
    struct Search {
        int bandRows;        // rows searched above and below the line
        double thickest;     // rows between the edges of the thickest arm taken
        double armThickness; // rows between the arm's edges once known, else 0
    };

    void collectMidpoints(const I::Image& grey, const ArmLine& around, const Search& search);
    std::optional<ArmFit> fit(const ArmLine& guess, const double (&toleranceShares)[2], int height);
    double medianThickness(const ArmLine& line, double tolerance);

    // Kept between calls, so refining allocates only when a picture is wider
    // than every earlier one.
    std::vector<Midpoint> midpoints;
    std::vector<double> scratch;
    std::size_t columnsLooked = 0;
};
