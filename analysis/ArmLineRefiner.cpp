#include "analysis/ArmLineRefiner.h"

#include "analysis/Median.h"

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
// In a noisy picture the strips are twice as wide, overlapping their
// neighbours, up to this many columns: each then averages twice the pixels.
constexpr int kWidestNoisyStrip = 16;
// An edge's response adds the rows on either side of it: one in a quiet
// picture, where that places the edge best and keeps it apart from edges
// near it, and one more for every kNoisePerSpanRow grey levels of sensor
// noise, so that the noise of each row averages out, up to this share of the
// picture's height, a quarter of an arm's thickness, so that the two edges of
// an arm stay apart.
constexpr double kWidestSpanShare = 1.0 / 60;
constexpr double kNoisePerSpanRow = 5.0;
// The median size of a normally distributed value, in standard deviations.
constexpr double kMedianOfNormalSize = 0.6745;
// The weakest step taken for an edge, in grey levels, however quiet the
// picture: fainter ones are the wall's own texture.
constexpr int kWeakestStep = 8;
// Times the median size of the responses in the band, which is that of the
// wall's noise: an edge must stand out of it by this much (about two standard
// deviations) to count.
constexpr double kNoiseMultiple = 3.0;
// The midpoints must lie on one line in at least this share of the strips
// looked at, or the arm is not where the guess says.
constexpr double kShareOfStripsNeeded = 0.3;
// An arm already followed is looked for only in its own narrow band, as a
// pair of edges its known thickness apart, which little else in a room
// offers; there a smaller share will do, so that someone walking behind an
// arm already partly hidden by the furniture does not lose it.
constexpr double kShareOfStripsFollowed = 0.25;
constexpr int kFewestStrips = 8;
// Each round of a fit keeps the midpoints within a narrower distance of the
// line of the round before, as shares of the picture's height: the rough fit
// starts wide enough for a guess a degree or two off at the picture's ends,
// the fine one ends at about the edges' own noise.
constexpr double kRoughToleranceShares[] = {0.025, 0.0125};
constexpr double kFineToleranceShares[] = {0.0125, 0.00625};
constexpr double kSmallestTolerancePixels = 1.5;
// How much stronger or fainter than the arm's usual edges a strip's edges may
// be and still count as the arm's.
constexpr double kStrengthRatio = 4.0;
// The second pass searches the arm's own thickness and this much more on
// either side, for the arm's move since the first pass or the last frame.
constexpr double kMarginShare = 0.01;
constexpr double kSmallestMarginPixels = 2.0;

// Where between three samples, the middle one the largest in size, the
// extreme lies, as a shift of -0.5 to 0.5 from the middle one.
double peakShift(double before, double at, double after) {
    const double curvature = before - 2 * at + after;
    if (curvature == 0) {
        return 0;
    }
    return std::clamp(0.5 * (before - after) / curvature, -0.5, 0.5);
}

struct StripEdges {
    double riseRow;
    double fallRow;
    int strength; // the weaker edge's response
};

// The edge responses of one strip: brightness below minus above each row,
// for the rows first to first + size - 1 of the band.
struct StripResponse {
    const int32_t* values;
    int size;
    int first;
};

// The row of the extreme at index at, to a fraction of a row; the first and
// last rows have only one neighbour inside the band and stay whole.
double locatedPeak(const StripResponse& strip, int at) {
    const int32_t* value = strip.values;
    if (at <= 0 || at >= strip.size - 1) {
        return strip.first + at;
    }
    return strip.first + at + peakShift(value[at - 1], value[at], value[at + 1]);
}

// The strongest rise and fall of brightness down the strip, or nothing when
// either is weaker than weakest.
std::optional<StripEdges> strongestEdges(const StripResponse& strip, int weakest) {
    int rise = 0, fall = 0, riseAt = 0, fallAt = 0;
    for (int at = 0; at < strip.size; ++at) {
        const int response = strip.values[at];
        if (response > rise) {
            rise = response;
            riseAt = at;
        }
        if (response < fall) {
            fall = response;
            fallAt = at;
        }
    }
    if (rise < weakest || -fall < weakest) {
        return std::nullopt;
    }
    return StripEdges{locatedPeak(strip, riseAt), locatedPeak(strip, fallAt),
                      std::min(rise, -fall)};
}

// The index beside at, or at itself, where the response is largest in size:
// the row a pair of edges was found at may sit one off its edge's peak.
int peakNear(const StripResponse& strip, int at) {
    int peakAt = at;
    int peak = std::abs(strip.values[at]);
    for (const int near : {at - 1, at + 1}) {
        const int size = near >= 0 && near < strip.size ? std::abs(strip.values[near]) : -1;
        if (size > peak) {
            peak = size;
            peakAt = near;
        }
    }
    return peakAt;
}

// The arm's two edges in the strip once its thickness is known: the pair of
// edges of opposite sign, that many rows apart give or take one, whose weaker
// edge is the strongest. One strong edge alone, of a picture's frame or a
// horizon beside an arm little darker than the wall, cannot win the strip
// this way, as it would as the strongest rise or fall.
std::optional<StripEdges> strongestPair(const StripResponse& strip, double thickness, int weakest) {
    const int rows = std::max(2, int(std::lround(thickness)));
    const int32_t* value = strip.values;
    int best = 0, upperAt = 0, lowerAt = 0;
    for (int at = 0; at + rows - 1 < strip.size; ++at) {
        for (int apart = rows - 1; apart <= rows + 1 && at + apart < strip.size; ++apart) {
            const int weaker = std::min(std::abs(value[at]), std::abs(value[at + apart]));
            if ((value[at] > 0) != (value[at + apart] > 0) && weaker > best) {
                best = weaker;
                upperAt = at;
                lowerAt = at + apart;
            }
        }
    }
    if (best < weakest) {
        return std::nullopt;
    }
    return StripEdges{locatedPeak(strip, peakNear(strip, upperAt)),
                      locatedPeak(strip, peakNear(strip, lowerAt)), best};
}

// The middle of the window of the given half width that holds the most of
// values; values is sorted on the way.
double densestValue(std::vector<double>& values, double halfWidth) {
    std::sort(values.begin(), values.end());
    std::size_t bestFirst = 0, bestLast = 0, first = 0;
    for (std::size_t last = 0; last < values.size(); ++last) {
        while (values[last] - values[first] > 2 * halfWidth) {
            ++first;
        }
        if (last - first > bestLast - bestFirst) {
            bestFirst = first;
            bestLast = last;
        }
    }
    return values.empty() ? 0 : (values[bestFirst] + values[bestLast]) / 2;
}

} // namespace

std::optional<ArmFit> ArmLineRefiner::refine(const I::Image& grey, const ArmLine& guess) {
    const int height = grey.height;
    if (!canRefine(grey, guess)) {
        return std::nullopt;
    }
    const int wideBand = std::max(2, int(std::lround(kBandShare * height)));
    const StripResponses::Layout quiet{1, StripResponses::quietWidth(grey.width)};
    strips.measure(grey, guess, wideBand, quiet);
    measureNoise(grey.width, height);
    if (noise.layout.span != quiet.span || noise.layout.stripWidth != quiet.stripWidth) {
        strips.measure(grey, guess, wideBand, noise.layout);
    }
    collectMidpoints(grey, {wideBand, std::max(kThinnestArmPixels + 1, kThickestArmShare * height),
                            0, noise.weakest});
    const double window = std::max(kSmallestTolerancePixels, kRoughToleranceShares[1] * height);
    const ArmLine densest = densestLine(guess, window);
    if (const std::optional<ArmFit> rough =
            fit(densest, kRoughToleranceShares, height, kShareOfStripsNeeded)) {
        return fitAlong(grey, rough->line, medianNear(rough->line, window, &Midpoint::thickness),
                        kShareOfStripsNeeded);
    }
    // Where the bar of a picture's frame beside a faint arm has the strongest
    // edges of many strips, too few midpoints lie on the arm for a rough fit.
    // A few on one line still tell the arm's thickness, and the second pass,
    // which looks for pairs of edges that far apart, finds the arm's own
    // edges in the other strips too.
    if (gatherNear(densest, window, &Midpoint::thickness) < std::size_t(kFewestStrips)) {
        return std::nullopt;
    }
    return fitAlong(grey, densest, medianOf(scratch), kShareOfStripsNeeded);
}

// While the arms are followed their thickness is known, and the noise of the
// picture changes little from frame to frame, so only the arm's own band is
// searched: a shelf or a picture's frame beside it cannot take it over, as
// it could in a band wide enough to reach across a whole arm from either
// edge.
std::optional<ArmFit> ArmLineRefiner::follow(const I::Image& grey, const ArmFit& arm) {
    if (noise.layout.span == 0 || !(arm.thickness > 0)) {
        return refine(grey, arm.line);
    }
    return canRefine(grey, arm.line)
               ? fitAlong(grey, arm.line, arm.thickness, kShareOfStripsFollowed)
               : std::nullopt;
}

bool ArmLineRefiner::canRefine(const I::Image& grey, const ArmLine& guess) {
    constexpr int kSmallestSide = 5;
    return grey.format == I::Image::Gray8 && grey.width >= kSmallestSide &&
           grey.height >= kSmallestSide && std::sin(guess.angleDegrees * kPi / 180) > 0;
}

// The second pass: the pair of edges the arm's thickness apart in each strip,
// in a band of that thickness and a margin for the arm's move.
std::optional<ArmFit> ArmLineRefiner::fitAlong(const I::Image& grey, const ArmLine& line,
                                               double thickness, double shareNeeded) {
    const double margin = std::max(kSmallestMarginPixels, kMarginShare * grey.height);
    const int narrowBand = int(std::ceil(thickness / 2 + margin));
    strips.measure(grey, line, narrowBand, noise.layout);
    collectMidpoints(grey, {narrowBand, thickness + 2 * margin, thickness, noise.weakest});
    const double window = std::max(kSmallestTolerancePixels, kFineToleranceShares[1] * grey.height);
    std::optional<ArmFit> arm =
        fit(densestLine(line, window), kFineToleranceShares, grey.height, shareNeeded);
    if (arm) {
        arm->thickness = medianNear(arm->line, kSmallestTolerancePixels, &Midpoint::thickness);
    }
    return arm;
}

// From the responses of one row on either side, whose size is mostly that of
// the sensor noise, as most rows of a band wide enough to search hold only
// the wall: the rows on either side of an edge its response is to add, and
// the weakest response that then counts as an edge, well clear of the noise
// and never below a faint step. The noise of a response grows with the
// square root of the rows it adds.
void ArmLineRefiner::measureNoise(int width, int height) {
    const int quietWidth = StripResponses::quietWidth(width);
    const double pixelNoise =
        strips.medianSize() / (kMedianOfNormalSize * std::sqrt(2.0 * quietWidth));
    const int widest = std::max(1, int(std::lround(kWidestSpanShare * height)));
    const int span = std::clamp(1 + int(pixelNoise / kNoisePerSpanRow), 1, widest);
    const int stripWidth =
        pixelNoise > kNoisePerSpanRow
            ? std::min({2 * StripResponses::pitch(width), kWidestNoisyStrip, width})
            : quietWidth;
    const double responseNoise = pixelNoise * std::sqrt(2.0 * span * stripWidth);
    noise = {{span, stripWidth},
             std::max(kWeakestStep * span * stripWidth,
                      int(kNoiseMultiple * kMedianOfNormalSize * responseNoise))};
}

// Responses that add span rows on either side blur edges closer than twice
// that into one another; bars that thin are not measured, and are not arms.
double ArmLineRefiner::thinnestArm() const {
    return std::max(kThinnestArmPixels, 2.0 * noise.layout.span);
}

// In each strip, the arm's two edges within the band, whichever way round
// its colours are: the strongest rise and the strongest fall while the arm's
// thickness is unknown, then the strongest pair that far apart. Their
// midpoint is on the arm's centre line.
void ArmLineRefiner::collectMidpoints(const I::Image& grey, const Search& search) {
    midpoints.clear();
    const int height = grey.height;
    for (const StripResponses::Band& band : strips.bands()) {
        const StripResponse strip{strips.responsesOf(band), band.rows, band.first};
        const std::optional<StripEdges> edges =
            search.armThickness > 0 ? strongestPair(strip, search.armThickness, search.weakest)
                                    : strongestEdges(strip, search.weakest);
        if (!edges) {
            continue;
        }
        const double thickness = std::fabs(edges->riseRow - edges->fallRow);
        if (thickness >= thinnestArm() && thickness <= search.thickest) {
            midpoints.push_back({band.xc, (edges->riseRow + edges->fallRow) / 2 - height * 0.5,
                                 thickness, double(edges->strength)});
        }
    }
}

// Least squares over the midpoints, in rounds that each keep only those near
// the line of the round before. It starts from the densest line of the
// guess's slope, the one that passes near the most midpoints, as the guess
// may lie on either edge of the arm, and a picture's frame or a shelf beside
// a faint arm may give a good share of the midpoints a line apart from the
// arm's.
std::optional<ArmFit> ArmLineRefiner::fit(const ArmLine& densest,
                                          const double (&toleranceShares)[2], int height,
                                          double shareNeeded) {
    const std::size_t needed = std::max<std::size_t>(
        kFewestStrips, std::size_t(std::ceil(shareNeeded * strips.stripsLooked())));
    if (midpoints.size() < needed) {
        return std::nullopt;
    }
    double slope = densest.slope();
    double intercept = densest.offset;
    const double window = std::max(kSmallestTolerancePixels, toleranceShares[1] * height);
    // The edges of one arm are about as strong all along; much stronger or
    // fainter ones on its line belong to a picture's frame or to the wall's
    // texture, which together could otherwise pass for an arm.
    const double typicalStrength = medianNear(densest, window, &Midpoint::strength);
    std::size_t kept = 0;
    for (const double share : toleranceShares) {
        const double tolerance = std::max(kSmallestTolerancePixels, share * height);
        double sumX = 0, sumY = 0, sumXX = 0, sumXY = 0;
        kept = 0;
        for (const Midpoint& point : midpoints) {
            if (std::fabs(point.yc - (intercept + slope * point.xc)) <= tolerance &&
                point.strength <= kStrengthRatio * typicalStrength &&
                point.strength * kStrengthRatio >= typicalStrength) {
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
    return ArmFit{
        {90 + std::atan(slope) * 180 / kPi, intercept}, double(kept) / strips.stripsLooked(), 0};
}

// The line of the guess's slope that passes within window of the most
// midpoints.
ArmLine ArmLineRefiner::densestLine(const ArmLine& guess, double window) {
    const double slope = guess.slope();
    scratch.clear();
    for (const Midpoint& point : midpoints) {
        scratch.push_back(point.yc - (guess.offset + slope * point.xc));
    }
    return {guess.angleDegrees, guess.offset + densestValue(scratch, window)};
}

// One field of each midpoint near the line, into scratch; returns how many
// there are.
std::size_t ArmLineRefiner::gatherNear(const ArmLine& line, double tolerance,
                                       double Midpoint::*field) {
    const double slope = line.slope();
    scratch.clear();
    for (const Midpoint& point : midpoints) {
        if (std::fabs(point.yc - (line.offset + slope * point.xc)) <= tolerance) {
            scratch.push_back(point.*field);
        }
    }
    return scratch.size();
}

// The median of one field of the midpoints near the line; 0 when none is,
// which a fit's last nudge of its line can leave.
double ArmLineRefiner::medianNear(const ArmLine& line, double tolerance, double Midpoint::*field) {
    gatherNear(line, tolerance, field);
    return medianOf(scratch);
}
