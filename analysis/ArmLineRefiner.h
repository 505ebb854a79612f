#pragma once

#include "analysis/ArmLine.h"
#include "analysis/StripResponses.h"
#include "capture/Image.h"

#include <optional>
#include <vector>

// A refined line, the share, 0 to 1, of the strips looked at whose midpoints
// lie on it (an arm across the picture has most of them), and the rows
// between the arm's edges.
struct ArmFit {
    ArmLine line;
    double support;
    double thickness;
};

// Finds the centre line of an outstretched arm near a first guess. The
// detector's strongest line is accurate in angle but lies on one of the arm's
// two edges; in strips of columns near the guess this looks for the arm's two
// edges, a rise and a fall in brightness across it, takes the point halfway
// between them, and fits a straight line through those midpoints by least
// squares, dropping the strips that disagree (the head, a picture frame).
// A first pass searches a band wide enough to reach across the arm from
// either edge; a second searches only the arm found, so that stronger edges
// near it cannot pull its strips away. The edges are located to a fraction
// of a pixel, so the fit is finer than the detector's half-pixel, half-degree
// grid.
class ArmLineRefiner {
public:
    // The arm's centre line in the mirrored grey picture, or nothing when too
    // few strips show a pair of edges on one line near the guess.
    std::optional<ArmFit> refine(const I::Image& grey, const ArmLine& guess);

    // The arm of an earlier frame in this one, having moved a little: faster
    // than refining, and held by the arm's thickness. Refines when no picture
    // was refined before.
    std::optional<ArmFit> follow(const I::Image& grey, const ArmFit& arm);

    // Whether the picture last refined had so much sensor noise that its
    // edges were measured over more rows and wider strips.
    bool lastPictureWasNoisy() const { return noise.layout.span > 1; }

private:
    struct Midpoint {
        double xc;        // column, from the picture's centre
        double yc;        // row halfway between the edges, from the picture's centre
        double thickness; // rows between the edges
        double strength;  // the response of the weaker edge
    };
    struct Search {
        int bandRows;        // rows searched above and below the line
        double thickest;     // rows between the edges of the thickest arm taken
        double armThickness; // rows between the arm's edges once known, else 0
        int weakest;         // the weakest response taken for an edge
    };
    // How the strips are measured, and the weakest response taken for an
    // edge, for the picture's noise as the last refining found it.
    struct Noise {
        StripResponses::Layout layout{0, 0};
        int weakest = 0;
    };

    static bool canRefine(const I::Image& grey, const ArmLine& guess);
    std::optional<ArmFit> fitAlong(const I::Image& grey, const ArmLine& line, double thickness,
                                   double shareNeeded);
    void measureNoise(int width, int height);
    double thinnestArm() const;
    void collectMidpoints(const I::Image& grey, const Search& search);
    std::optional<ArmFit> fit(const ArmLine& densest, const double (&toleranceShares)[2],
                              int height, double shareNeeded);
    ArmLine densestLine(const ArmLine& guess, double window);
    std::size_t gatherNear(const ArmLine& line, double tolerance, double Midpoint::*field);
    double medianNear(const ArmLine& line, double tolerance, double Midpoint::*field);

    // Kept between calls, so refining allocates only when a picture is larger
    // than every earlier one.
    std::vector<Midpoint> midpoints;
    std::vector<double> scratch;
    StripResponses strips;
    Noise noise;
};
