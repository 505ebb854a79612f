#pragma once

#include "analysis/PixelString.h"

// Splits every string, in list order, into nearly straight clusters of at least
// minSize points. A largest deviation from the chord below minDeviation pixels
// counts as minDeviation, so small wiggles do not split a run.
void findClusters(ClusterList& clusters, const StringList& strings, double minDeviation,
                  uint32_t minSize);

// Recursive step on the points first...last of one string: splits at the point
// farthest from the chord when that raises the length-to-deviation ratio, and
// returns the ratio of the best segmentation found.
double subdivide(ClusterList& clusters, const PixelString& string, uint32_t first, uint32_t last,
                 double minDeviation, uint32_t minSize);
