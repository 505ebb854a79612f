#include "analysis/ClusterSplitter.h"

#include <cmath>
#include <cstdlib>

namespace {

struct FarthestPoint {
    uint32_t index;
    double distance;
    double chordLength;
};

// The point of first...last-1 farthest from the chord between the two ends;
// the earliest wins a tie.
FarthestPoint farthestFromChord(const PixelString& string, uint32_t first, uint32_t last) {
    const StringPoint& start = string.points[first];
    const StringPoint& end = string.points[last];
    const int64_t chordX = end.x - start.x;
    const int64_t chordY = end.y - start.y;
    int64_t largest = -1;
    uint32_t farthest = first;
    for (uint32_t i = first; i < last; ++i) {
        const StringPoint& point = string.points[i];
        const int64_t cross =
            std::llabs((point.y - start.y) * chordX - (point.x - start.x) * chordY);
        if (cross > largest) {
            largest = cross;
            farthest = i;
        }
    }
    const double chordLength = std::sqrt(double(chordX * chordX + chordY * chordY));
    // Points of a string are distinct, so the chord only vanishes for a run of
    // one point, which has no deviation.
    const double distance = chordLength > 0 ? double(largest) / chordLength : 0.0;
    return {farthest, distance, chordLength};
}

} // namespace

double subdivide(ClusterList& clusters, const PixelString& string, uint32_t first, uint32_t last,
                 double minDeviation, uint32_t minSize) {
    const uint32_t clusterCountAtEntry = clusters.count;
    const FarthestPoint split = farthestFromChord(string, first, last);
    const double ratio = minDeviation > split.distance ? split.chordLength / minDeviation
                                                       : split.chordLength / split.distance;

    // A split at either end would repeat this very call, so it is no split.
    const bool splitsInside = split.index > first && split.index < last;
    if (splitsInside && split.index - first + 1 >= minSize && last - split.index + 1 >= minSize) {
        // The split point belongs to both halves.
        const double firstRatio =
            subdivide(clusters, string, first, split.index, minDeviation, minSize);
        const double secondRatio =
            subdivide(clusters, string, split.index, last, minDeviation, minSize);
        if (firstRatio > ratio || secondRatio > ratio) {
            return secondRatio > firstRatio ? secondRatio : firstRatio;
        }
    }
    clusters.count = clusterCountAtEntry;
    clusters.append({&string.points[first], last - first + 1});
    return ratio;
}

void findClusters(ClusterList& clusters, const StringList& strings, double minDeviation,
                  uint32_t minSize) {
    clusters.count = 0;
    for (uint32_t i = 0; i < strings.count; ++i) {
        const PixelString& string = strings.entries[i];
        if (string.count > 0) {
            subdivide(clusters, string, 0, string.count - 1, minDeviation, minSize);
        }
    }
}
