#include "analysis/KernelVoter.h"

#include "analysis/VoteShape.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegreesPerRadian = 180.0 / kPi;
// A vertical run fits θ exactly, which would make its kernel infinitely thin
// in θ; it gets this variance (in degrees squared) instead.
constexpr double kVerticalThetaVariance = 0.1;
constexpr double kSmallestNormalDouble = 2.2250738585072014e-308;

struct Scatter {
    Vector2 mean{0, 0};
    double sxx = 0;
    double syy = 0;
    double sxy = 0;
};

Scatter scatterOf(const Cluster& cluster) {
    Scatter scatter;
    const StringPoint* points = cluster.first;
    for (uint32_t i = 0; i < cluster.count; ++i) {
        scatter.mean.x += points[i].xc;
        scatter.mean.y += points[i].yc;
    }
    scatter.mean.x /= cluster.count;
    scatter.mean.y /= cluster.count;
    for (uint32_t i = 0; i < cluster.count; ++i) {
        const double dx = points[i].xc - scatter.mean.x;
        const double dy = points[i].yc - scatter.mean.y;
        scatter.sxx += dx * dx;
        scatter.syy += dy * dy;
        scatter.sxy += dx * dy;
    }
    return scatter;
}

// Spread of the points along the run, the sum of squared projections on u.
double spreadAlong(const Cluster& cluster, Vector2 u, Vector2 mean) {
    double spread = 0;
    for (uint32_t i = 0; i < cluster.count; ++i) {
        const double along =
            u.x * (cluster.first[i].xc - mean.x) + u.y * (cluster.first[i].yc - mean.y);
        spread += along * along;
    }
    return spread;
}

Kernel fitKernel(const Cluster& cluster, const Accumulator& accumulator, double nSigmas) {
    const Scatter scatter = scatterOf(cluster);
    const SymmetricEigen eigen = eigenSymmetric2x2(scatter.sxx, scatter.sxy, scatter.syy);
    const Vector2 u = eigen.largerVector;
    Vector2 n = eigen.smallerVector;
    if (n.y < 0) {
        n = {-n.x, -n.y};
    }

    Kernel kernel{};
    kernel.cluster = &cluster;
    kernel.rho = n.x * scatter.mean.x + n.y * scatter.mean.y;
    kernel.theta = std::acos(std::clamp(n.x, -1.0, 1.0)) * kDegreesPerRadian;
    kernel.rhoIndex =
        int32_t(std::fabs((kernel.rho - accumulator.rhoStart) / accumulator.delta)) + 1;
    kernel.thetaIndex = int32_t(std::fabs(kernel.theta / accumulator.delta)) + 1;

    // Covariance of (ρ, θ) propagated from the spread of the points along the
    // run and their number: M · diag(1/Su, 1/N) · Mᵀ.
    const double su = spreadAlong(cluster, u, scatter.mean);
    const double uDotMean = u.x * scatter.mean.x + u.y * scatter.mean.y;
    const double sinTheta = std::sqrt(1 - n.x * n.x);
    const double m = sinTheta == 0 ? 0.0 : u.x / sinTheta * kDegreesPerRadian;
    kernel.sigma2Rho = uDotMean * uDotMean / su + 1.0 / cluster.count;
    kernel.covRhoTheta = -uDotMean * m / su;
    kernel.covThetaRho = kernel.covRhoTheta;
    kernel.sigma2Theta = m * m / su;
    if (kernel.sigma2Theta == 0) {
        kernel.sigma2Theta = kVerticalThetaVariance;
    }
    kernel.sigma2Rho *= nSigmas * nSigmas;
    kernel.sigma2Theta *= nSigmas * nSigmas;

    const double sigmaRho = std::sqrt(kernel.sigma2Rho);
    const double sigmaTheta = std::sqrt(kernel.sigma2Theta);
    const double r = kernel.covRhoTheta / (sigmaRho * sigmaTheta);
    kernel.kernelHeight = 1 / (2 * kPi * sigmaRho * sigmaTheta * std::sqrt(1 - r * r));
    return kernel;
}

Vector2 unit(Vector2 v) {
    const double length = std::hypot(v.x, v.y);
    return {v.x / length, v.y / length};
}

// Votes along one row of θ from column rho on, one column at a time the way
// rhoStep (±1) goes, until a cell would receive no vote or the row leaves the
// ρ range; returns whether any cell was voted.
bool voteRow(Accumulator& accumulator, uint32_t theta, int32_t rho, int32_t rhoStep,
             const VoteShape& shape, const VoteShape::Row& thetaRow, VoteShape::Walk walk) {
    const int32_t rhoSize = int32_t(accumulator.rhoSize);
    if (rho < 1 || rho > rhoSize) {
        return false;
    }
    const int32_t columnsLeft = rhoStep > 0 ? rhoSize - rho + 1 : rho;
    uint32_t cell = accumulator.cellIndex(theta, uint32_t(rho));
    int32_t voted = 0;
    for (; voted < columnsLeft; ++voted, cell += uint32_t(rhoStep)) {
        const int32_t votes = shape.votes(thetaRow, walk);
        if (votes <= 0) {
            break;
        }
        accumulator.addVotesToCell(cell, votes);
        shape.step(thetaRow, walk);
    }
    return voted > 0;
}

} // namespace

SymmetricEigen eigenSymmetric2x2(double a, double b, double c) {
    if (b == 0) {
        if (a < c) {
            return {c, a, {0, 1}, {1, 0}};
        }
        return {a, c, {1, 0}, {0, 1}};
    }
    const double halfDifference = (a - c) / 2;
    const double radius = std::hypot(halfDifference, b);
    const double mean = (a + c) / 2;
    // Of the two equivalent eigenvector formulas, take the one free of
    // cancellation for the smaller eigenvalue.
    const Vector2 smallerVector =
        a >= c ? unit({b, -halfDifference - radius}) : unit({halfDifference - radius, b});
    const Vector2 largerVector{-smallerVector.y, smallerVector.x};
    return {mean + radius, mean - radius, largerVector, smallerVector};
}

void voteQuadrant(Accumulator& accumulator, int32_t rhoIndex0, int32_t thetaIndex0,
                  double deltaRho0, double deltaTheta0, int32_t rhoStep, int32_t thetaStep,
                  const Kernel& kernel, double scale) {
    // Δρ keeps moving the way the pass started even after θ wraps and the ρ
    // index runs the other way.
    const VoteShape shape(kernel, scale, accumulator.delta * rhoStep,
                          thetaStep * accumulator.delta);
    VoteShape::Pass pass = shape.startPass(deltaRho0, deltaTheta0);
    const int32_t rhoSize = int32_t(accumulator.rhoSize);
    const int32_t thetaSize = int32_t(accumulator.thetaSize);
    constexpr int kMissesToStop = 2;
    int misses = 0;
    int32_t theta = thetaIndex0;
    for (int32_t row = 0; row < thetaSize && misses < kMissesToStop; ++row) {
        if (theta == 0 || theta == thetaSize + 1) {
            theta = theta == 0 ? thetaSize : 1;
            rhoIndex0 = rhoSize - rhoIndex0 + 1;
            rhoStep = -rhoStep;
        }
        const VoteShape::Row thetaRow = shape.row(pass.deltaTheta);
        const bool rowVoted = voteRow(accumulator, uint32_t(theta), rhoIndex0, rhoStep, shape,
                                      thetaRow, shape.rowWalk(thetaRow, pass));
        if (!rowVoted) {
            ++misses;
        }
        theta += thetaStep;
        shape.nextRow(pass);
    }
}

void KernelVoter::computeKernels(Accumulator& accumulator, const ClusterList& clusters,
                                 double kernelMinHeight, double nSigmas) {
    count = clusters.count;
    if (kernels.size() < count) {
        kernels.resize(count);
    }
    for (uint32_t i = 0; i < count; ++i) {
        kernels[i] = fitKernel(clusters.items[i], accumulator, nSigmas);
    }
    keepStrongest(kernelMinHeight);

    for (const Kernel* kernel : kept) {
        const int32_t rhoIndex = kernel->rhoIndex;
        const int32_t thetaIndex = kernel->thetaIndex;
        const double delta = accumulator.delta;
        voteQuadrant(accumulator, rhoIndex, thetaIndex, 0, 0, +1, +1, *kernel, scale);
        voteQuadrant(accumulator, rhoIndex, thetaIndex - 1, 0, -delta, +1, -1, *kernel, scale);
        voteQuadrant(accumulator, rhoIndex - 1, thetaIndex, -delta, 0, -1, +1, *kernel, scale);
        voteQuadrant(accumulator, rhoIndex - 1, thetaIndex - 1, -delta, -delta, -1, -1, *kernel,
                     scale);
    }
}

void KernelVoter::keepStrongest(double kernelMinHeight) {
    double highest = kSmallestNormalDouble;
    for (uint32_t i = 0; i < count; ++i) {
        highest = std::max(highest, kernels[i].kernelHeight);
    }
    kept.clear();
    if (kept.capacity() < count) {
        kept.reserve(count);
    }
    // The weakest kept kernel must still cast one vote one standard deviation
    // from its centre, where its density is e^(-1/2) of its height.
    const double oneSigmaFactor = std::exp(-0.5);
    scale = 1.0;
    for (uint32_t i = 0; i < count; ++i) {
        const Kernel& kernel = kernels[i];
        if (kernel.kernelHeight / highest >= kernelMinHeight) {
            kept.push_back(&kernel);
            const double oneSigmaDensity = kernel.kernelHeight * oneSigmaFactor;
            scale = std::max(scale, oneSigmaDensity < 1 ? 1 / oneSigmaDensity : 1.0);
        }
    }
}
