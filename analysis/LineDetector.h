#pragma once

#include "analysis/Accumulator.h"
#include "analysis/KernelVoter.h"
#include "analysis/Line.h"
#include "analysis/PeakFinder.h"
#include "analysis/PixelString.h"
#include "capture/Image.h"

// Kernel-based Hough transform: links the set pixels of a binary picture into
// strings, splits them into straight clusters, lets every cluster cast an
// elliptical Gaussian vote into a (θ, ρ) accumulator and reports the peaks.
// All working storage is kept between calls and only grows, so a detection
// allocates only when a picture needs more room than every earlier one.
class LineDetector {
public:
    // Replaces lines with the lines of picture, strongest first. picture is a
    // Gray8 picture whose set pixels are 255; it is used up.
    void detect(LineList& lines, I::Image& picture, uint32_t minSize, double minDeviation,
                double delta, double kernelMinHeight, double nSigmas);

    const StringList& strings() const { return stringList; }
    const ClusterList& clusters() const { return clusterList; }
    const Accumulator& accumulator() const { return votes; }
    const KernelVoter& kernels() const { return voter; }

private:
    StringList stringList;
    ClusterList clusterList;
    Accumulator votes;
    KernelVoter voter;
    PeakFinder peaks;
};

// The detection the estimator runs, on the one detector of the process.
void detectLines(LineList& lines, I::Image& picture, uint32_t minSize, double minDeviation,
                 double delta, double kernelMinHeight, double nSigmas);
