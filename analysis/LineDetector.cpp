#include "analysis/LineDetector.h"

#include "analysis/ClusterSplitter.h"
#include "analysis/StringLinker.h"

#include <algorithm>

void LineDetector::detect(LineList& lines, I::Image& picture, uint32_t minSize, double minDeviation,
                          double delta, double kernelMinHeight, double nSigmas) {
    findStrings(stringList, picture, minSize);
    findClusters(clusterList, stringList, minDeviation, minSize);
    votes.init(uint32_t(std::max(picture.width, 0)), uint32_t(std::max(picture.height, 0)), delta);
    voter.computeKernels(votes, clusterList, kernelMinHeight, nSigmas);
    peaks.findPeaks(lines, votes);
}

void detectLines(LineList& lines, I::Image& picture, uint32_t minSize, double minDeviation,
                 double delta, double kernelMinHeight, double nSigmas) {
    // Built on the first detection and kept until the process ends; only the
    // GUI thread detects, so it needs no lock.
    static LineDetector detector;
    detector.detect(lines, picture, minSize, minDeviation, delta, kernelMinHeight, nSigmas);
}
