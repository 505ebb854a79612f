#include "analysis/ArmLineRefiner.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Rows searched above and below the guess, and the thickest arm looked for,
// both as shares of the picture's height: the guess lies on one edge of the
// arm, so the band must reach across a whole arm to its other edge.
constexpr double kBandShare = 0.12;
constexpr double kThickestArmShare = 0.12;
constexpr double kThinnestArmPixels = 1.5;
// A step of about 20 grey levels under the vertical Sobel kernel (4 · 20);
// weaker steps are sensor noise and wall texture.
constexpr int kWeakestEdge = 80;
// At most this many columns are looked at, spread over the picture, so the
// cost stays flat at large sizes while the fit still has plenty of points.
constexpr int kLargestColumnCount = 80;
// The midpoints must lie on one line in at least this share of the columns
// looked at, or the arm is not where the guess says.
constexpr double kShareOfColumnsNeeded = 0.3;
constexpr int kFewestColumns = 8;
// Each round of a fit keeps the midpoints within a narrower distance of the
// line of the round before, as shares of the picture's height: the rough fit
// starts wide enough for a guess a few degrees off at the picture's ends, the
// fine one ends at about the edges' own noise.
constexpr double kRoughToleranceShares[] = {0.05, 0.0125};
constexpr double kFineToleranceShares[] = {0.0125, 0.00625};
constexpr double kSmallestTolerancePixels = 1.5;
// The second pass searches the arm's own thickness and this much more on
// either side, for the arm's move since the first pass's columns.
constexpr double kMarginShare = 0.01;
constexpr double kSmallestMarginPixels = 2.0;

// Vertical Sobel response at (x, y): brightness below minus above.
int verticalGradient(const uchar* pixels, int width, int x, int y) {
    const uchar* above = pixels + qsizetype(y - 1) * width + x;
    const uchar* below = pixels + qsizetype(y + 1) * width + x;
    return (below[-1] + 2 * below[0] + below[1]) - (above[-1] + 2 * above[0] + above[1]);
}

// Where between three samples, the middle one the largest in size, the
// extreme lies, as a shift of -0.5 to 0.5 from the middle one.
double peakShift(double before, double at, double after) {
    const double curvature = before - 2 * at + after;
    if (curvature == 0) {
        return 0;
    }
    return std::clamp(0.5 * (before - after) / curvature, -0.5, 0.5);
}

struct ColumnEdges {
    double riseRow;
    double fallRow;
};

// The row of the extreme at row at, to a fraction of a row; rows first and
// last have only one neighbour inside the band and stay whole.
double locatedPeak(const I::Image& grey, int x, int at, int first, int last) {
    if (at <= first || at >= last) {
        return at;
    }
    return at + peakShift(verticalGradient(grey.data, grey.width, x, at - 1),
                          verticalGradient(grey.data, grey.width, x, at),
                          verticalGradient(grey.data, grey.width, x, at + 1));
}

// The strongest rise and fall of brightness down rows first to last of
// column x, or nothing when either is too weak to be an edge. first is at
// least 1 and last at most the height less 2, so every row read exists.
std::optional<ColumnEdges> strongestEdges(const I::Image& grey, int x, int first, int last) {
    int rise = 0, fall = 0, riseAt = first, fallAt = first;
    for (int y = first; y <= last; ++y) {
        const int gradient = verticalGradient(grey.data, grey.width, x, y);
        if (gradient > rise) {
            rise = gradient;
            riseAt = y;
        }
        if (gradient < fall) {
            fall = gradient;
            fallAt = y;
        }
    }
    if (rise < kWeakestEdge || -fall < kWeakestEdge) {
        return std::nullopt;
    }
    return ColumnEdges{locatedPeak(grey, x, riseAt, first, last),
                       locatedPeak(grey, x, fallAt, first, last)};
}

// The row beside at, or at itself, where the gradient is largest in size: the
// row a pair of edges was found at may sit one off its edge's peak.
int peakRowNear(const I::Image& grey, int x, int at, int first, int last) {
    int peakAt = at;
    int peak = std::abs(verticalGradient(grey.data, grey.width, x, at));
    for (const int y : {at - 1, at + 1}) {
        const int size =
            y >= first && y <= last ? std::abs(verticalGradient(grey.data, grey.width, x, y)) : -1;
        if (size > peak) {
            peak = size;
            peakAt = y;
        }
    }
    return peakAt;
}

// The arm's two edges in column x once its thickness is known: the pair of
// edges of opposite sign, that many rows apart give or take one, whose weaker
// edge is the strongest. One strong edge alone, of a picture's frame or a
// horizon beside an arm little darker than the wall, cannot win the column
// this way, as it would as the strongest rise or fall.
std::optional<ColumnEdges> strongestPair(const I::Image& grey, int x, int first, int last,
                                         double thickness) {
    const int rows = std::max(2, int(std::lround(thickness)));
    int best = 0, upperAt = first, lowerAt = first;
    for (int y = first; y + rows - 1 <= last; ++y) {
        const int upper = verticalGradient(grey.data, grey.width, x, y);
        for (int apart = rows - 1; apart <= rows + 1 && y + apart <= last; ++apart) {
            const int lower = verticalGradient(grey.data, grey.width, x, y + apart);
            const int weaker = std::min(std::abs(upper), std::abs(lower));
            if ((upper > 0) != (lower > 0) && weaker > best) {
                best = weaker;
                upperAt = y;
                lowerAt = y + apart;
            }
        }
    }
    if (best < kWeakestEdge) {
        return std::nullopt;
    }
    return ColumnEdges{
        locatedPeak(grey, x, peakRowNear(grey, x, upperAt, first, last), first, last),
        locatedPeak(grey, x, peakRowNear(grey, x, lowerAt, first, last), first, last)};
}

double rowOnLine(const ArmLine& line, double xc) {
    const double angle = line.angleDegrees * kPi / 180;
    return line.offset - xc * std::cos(angle) / std::sin(angle);
}

// 0 for no values at all, which a fit's last nudge of its line can leave.
double median(std::vector<double>& values) {
    if (values.empty()) {
        return 0;
    }
    const auto middle = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

} // namespace

std::optional<ArmFit> ArmLineRefiner::refine(const I::Image& grey, const ArmLine& guess) {
    constexpr int kSmallestSide = 5;
    const int height = grey.height;
    if (grey.format != I::Image::Gray8 || grey.width < kSmallestSide || height < kSmallestSide ||
        !(std::sin(guess.angleDegrees * kPi / 180) > 0)) {
        return std::nullopt;
    }
    const int wideBand = std::max(2, int(std::lround(kBandShare * height)));
    collectMidpoints(grey, guess,
                     {wideBand, std::max(kThinnestArmPixels + 1, kThickestArmShare * height), 0});
    const std::optional<ArmFit> rough = fit(guess, kRoughToleranceShares, height);
    if (!rough) {
        return std::nullopt;
    }
    const double thickness = medianThickness(
        rough->line, std::max(kSmallestTolerancePixels, kRoughToleranceShares[1] * height));
    const double margin = std::max(kSmallestMarginPixels, kMarginShare * height);
    collectMidpoints(grey, rough->line,
                     {int(std::ceil(thickness / 2 + margin)), thickness + 2 * margin, thickness});
    return fit(rough->line, kFineToleranceShares, height);
}

// In each column, the arm's two edges within the band, whichever way round
// its colours are: the strongest rise and the strongest fall while the arm's
// thickness is unknown, then the strongest pair that far apart. Their
// midpoint is on the arm's centre line.
void ArmLineRefiner::collectMidpoints(const I::Image& grey, const ArmLine& around,
                                      const Search& search) {
    const int width = grey.width;
    const int height = grey.height;
    const int step = std::max(1, (width + kLargestColumnCount - 1) / kLargestColumnCount);
    midpoints.clear();
    columnsLooked = 0;
    for (int x = 1 + step / 2; x < width - 1; x += step) {
        ++columnsLooked;
        const double xc = x - width * 0.5;
        const double centreRow = rowOnLine(around, xc) + height * 0.5;
        if (!(std::fabs(centreRow) < height * 2.0)) {
            continue;
        }
        const int first = std::max(1, int(std::floor(centreRow)) - search.bandRows);
        const int last = std::min(height - 2, int(std::ceil(centreRow)) + search.bandRows);
        const std::optional<ColumnEdges> edges =
            search.armThickness > 0 ? strongestPair(grey, x, first, last, search.armThickness)
                                    : strongestEdges(grey, x, first, last);
        if (!edges) {
            continue;
        }
        const double thickness = std::fabs(edges->riseRow - edges->fallRow);
        if (thickness >= kThinnestArmPixels && thickness <= search.thickest) {
            midpoints.push_back(
                {xc, (edges->riseRow + edges->fallRow) / 2 - height * 0.5, thickness});
        }
    }
}

// Least squares over the midpoints, in rounds that each keep only those near
// the line of the round before. It starts from the guess's slope through the
// median midpoint, as the guess may lie on either edge of the arm.
std::optional<ArmFit> ArmLineRefiner::fit(const ArmLine& guess, const double (&toleranceShares)[2],
                                          int height) {
    const std::size_t needed = std::max<std::size_t>(
        kFewestColumns, std::size_t(std::ceil(kShareOfColumnsNeeded * columnsLooked)));
    if (midpoints.size() < needed) {
        return std::nullopt;
    }
    scratch.clear();
    for (const Midpoint& point : midpoints) {
        scratch.push_back(point.yc - rowOnLine(guess, point.xc));
    }
    const double angle = guess.angleDegrees * kPi / 180;
    double slope = -std::cos(angle) / std::sin(angle);
    double intercept = guess.offset + median(scratch);
    std::size_t kept = 0;
    for (const double share : toleranceShares) {
        const double tolerance = std::max(kSmallestTolerancePixels, share * height);
        double sumX = 0, sumY = 0, sumXX = 0, sumXY = 0;
        kept = 0;
        for (const Midpoint& point : midpoints) {
            if (std::fabs(point.yc - (intercept + slope * point.xc)) <= tolerance) {
                sumX += point.xc;
                sumY += point.yc;
                sumXX += point.xc * point.xc;
                sumXY += point.xc * point.yc;
                ++kept;
            }
        }
        const double spread = kept * sumXX - sumX * sumX;
        if (kept < needed || !(spread > 0)) {
            return std::nullopt;
        }
        slope = (kept * sumXY - sumX * sumY) / spread;
        intercept = (sumY - slope * sumX) / kept;
    }
    return ArmFit{{90 + std::atan(slope) * 180 / kPi, intercept}, double(kept) / columnsLooked};
}

double ArmLineRefiner::medianThickness(const ArmLine& line, double tolerance) {
    scratch.clear();
    for (const Midpoint& point : midpoints) {
        if (std::fabs(point.yc - rowOnLine(line, point.xc)) <= tolerance) {
            scratch.push_back(point.thickness);
        }
    }
    return median(scratch);
}
