#pragma once

#include "analysis/KernelVoter.h"

#include <cstdint>

// The vote of a kernel for the cell at offset (Δρ, Δθ) from its centre: the
// bivariate normal density G of its (ρ, θ) covariance, turned into whole votes
// as trunc(scale · G + 0.5).
//
// Votes are taken in passes of rows of θ, thetaStep apart, each row cell after
// cell in steps of rhoStep from the same Δρ. The exponent of G is a quadratic
// in Δρ along a row and in Δθ along the first cells of the rows, so each
// density is the previous one times a ratio that itself changes by a constant
// factor: two multiplications instead of an exponential. Such a stepped value
// is used only when it decides the whole number of votes beyond doubt;
// otherwise, and every few steps, the density is worked out directly, so every
// vote is what the direct formula gives.
class VoteShape {
public:
    VoteShape(const Kernel& kernel, double scale, double rhoStep, double thetaStep);

    // The terms of the density that stay the same along a row of θ.
    struct Row {
        double deltaTheta;
        double thetaTerm;
    };
    Row row(double deltaTheta) const;

    // A position along a row, with the stepped density there.
    struct Walk {
        double deltaRho;
        double scaledDensity;
        double ratio;
        int stepsSinceDirect;
    };
    // The first cells of the rows of one pass.
    struct Pass {
        double deltaRho;
        double deltaTheta;
        double firstDensity;
        double firstRatio;
        double rowRatio;
        int rowsSinceDirect;
    };
    Pass startPass(double deltaRho, double deltaTheta) const;
    // The walk along the current row of the pass, from its first cell.
    Walk rowWalk(const Row& row, const Pass& pass) const;
    void nextRow(Pass& pass) const;

    int32_t votes(const Row& row, Walk& walk) const {
        const double value = walk.scaledDensity + 0.5;
        const double doubt = kSteppedRelativeError * walk.scaledDensity;
        const int32_t votes = int32_t(value - doubt);
        if (votes == int32_t(value + doubt)) {
            return votes;
        }
        walk = restartAt(row, walk.deltaRho);
        return int32_t(walk.scaledDensity + 0.5);
    }

    void step(const Row& row, Walk& walk) const {
        walk.deltaRho += rhoStep;
        if (++walk.stepsSinceDirect == kStepsBetweenDirect) {
            walk = restartAt(row, walk.deltaRho);
            return;
        }
        walk.scaledDensity *= walk.ratio;
        walk.ratio *= ratioGrowth;
    }

private:
    // Each stepped cell adds at most a few units in the last place to the
    // density's relative error, and the walk restarts from the direct formula
    // every kStepsBetweenDirect cells, so the stepped value stays far within
    // this bound of the direct one.
    static constexpr double kSteppedRelativeError = 1e-9;
    static constexpr int kStepsBetweenDirect = 32;

    double exponent(const Row& row, double deltaRho) const;
    double scaledDensity(const Row& row, double deltaRho) const;
    // Returned by value so that a walk lives in registers, not in memory.
    Walk restartAt(const Row& row, double deltaRho) const;
    double noVoteBeyond() const;

    double sigma2Rho;
    double sigma2Theta;
    double sigmaProduct;
    double twoR;
    double oneMinusR2;
    double twoOneMinusR2;
    double normaliser;
    double scale;
    double zeroBeyond;
    double rhoStep;
    double ratioGrowth;
    double thetaStep;
    double firstRatioGrowth;
    double rowRatioGrowth;
};
