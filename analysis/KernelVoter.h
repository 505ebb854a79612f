#pragma once

#include "analysis/Accumulator.h"
#include "analysis/PixelString.h"

#include <vector>

// The line fitted to one cluster, with the uncertainty of its (ρ, θ) as a 2 x 2
// covariance, the accumulator cell of its centre and the height of its
// Gaussian vote there.
struct Kernel {
    const Cluster* cluster;
    double rho;
    double theta; // degrees
    double sigma2Rho;
    double covRhoTheta;
    double covThetaRho;
    double sigma2Theta;
    int32_t rhoIndex;
    int32_t thetaIndex;
    double kernelHeight;
};

struct Vector2 {
    double x;
    double y;
};

// Eigen-decomposition of the symmetric matrix [[a, b], [b, c]]: eigenvalues in
// descending order with their unit eigenvectors. For a diagonal matrix the
// axes are taken as they are, the first kept first when both are equal.
struct SymmetricEigen {
    double larger;
    double smaller;
    Vector2 largerVector;
    Vector2 smallerVector;
};
SymmetricEigen eigenSymmetric2x2(double a, double b, double c);

// Fits, weighs and votes the clusters into the accumulator. Each kernel casts
// an elliptical Gaussian vote, scaled so that the weakest kernel still casts
// one vote one standard deviation from its centre; kernels lower than
// kernelMinHeight of the highest cast none.
class KernelVoter {
public:
    void computeKernels(Accumulator& accumulator, const ClusterList& clusters,
                        double kernelMinHeight, double nSigmas);

    // The kernels of the latest call, one per cluster, and those that voted.
    const Kernel* kernelsBegin() const { return kernels.data(); }
    uint32_t kernelCount() const { return count; }
    const std::vector<const Kernel*>& keptKernels() const { return kept; }
    double voteScale() const { return scale; }

private:
    void keepStrongest(double kernelMinHeight);

    std::vector<Kernel> kernels;
    uint32_t count = 0;
    std::vector<const Kernel*> kept;
    double scale = 1.0;
};

// One quarter of a kernel's vote: rows of θ from thetaIndex0 on in steps of
// thetaStep, each row from rhoIndex0 on in steps of rhoStep, with the offsets
// (Δρ, Δθ) of the first cell from the kernel's centre. A row ends at the first
// cell that would receive no vote; the pass ends after two rows without votes.
// θ wraps around with ρ mirrored, as (ρ, θ) and (−ρ, θ ± 180) are one line.
void voteQuadrant(Accumulator& accumulator, int32_t rhoIndex0, int32_t thetaIndex0,
                  double deltaRho0, double deltaTheta0, int32_t rhoStep, int32_t thetaStep,
                  const Kernel& kernel, double scale);
