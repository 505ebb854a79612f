#include "analysis/VoteShape.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

} // namespace

VoteShape::VoteShape(const Kernel& kernel, double scale, double rhoStep, double thetaStep)
    : sigma2Rho(kernel.sigma2Rho)
    , sigma2Theta(kernel.sigma2Theta)
    , sigmaProduct(std::sqrt(kernel.sigma2Rho) * std::sqrt(kernel.sigma2Theta))
    , twoR(2 * (kernel.covRhoTheta / sigmaProduct))
    , oneMinusR2(1 - (twoR / 2) * (twoR / 2))
    , twoOneMinusR2(2 * oneMinusR2)
    , normaliser(2 * kPi * sigmaProduct * std::sqrt(oneMinusR2))
    , scale(scale)
    , zeroBeyond(noVoteBeyond())
    , rhoStep(rhoStep)
    , ratioGrowth(std::exp(-2 * rhoStep * rhoStep / (sigma2Rho * twoOneMinusR2)))
    , thetaStep(thetaStep)
    , firstRatioGrowth(std::exp(-2 * thetaStep * thetaStep / (sigma2Theta * twoOneMinusR2)))
    , rowRatioGrowth(std::exp(twoR * rhoStep * thetaStep / (sigmaProduct * twoOneMinusR2))) {}

VoteShape::Row VoteShape::row(double deltaTheta) const {
    return {deltaTheta, deltaTheta * deltaTheta / sigma2Theta};
}

VoteShape::Pass VoteShape::startPass(double deltaRho, double deltaTheta) const {
    const Row here = row(deltaTheta);
    const Row next = row(deltaTheta + thetaStep);
    const double atFirst = exponent(here, deltaRho);
    return {deltaRho,
            deltaTheta,
            scaledDensity(here, deltaRho),
            std::exp(exponent(next, deltaRho) - atFirst),
            std::exp(exponent(here, deltaRho + rhoStep) - atFirst),
            0};
}

VoteShape::Walk VoteShape::rowWalk(const Row& row, const Pass& pass) const {
    // Once the first cells fall to 0 the stepped value says nothing more:
    // such a row is worked out directly.
    if (pass.firstDensity == 0) {
        return restartAt(row, pass.deltaRho);
    }
    return {pass.deltaRho, pass.firstDensity, pass.rowRatio, 0};
}

void VoteShape::nextRow(Pass& pass) const {
    pass.deltaTheta += thetaStep;
    if (++pass.rowsSinceDirect == kStepsBetweenDirect) {
        pass = startPass(pass.deltaRho, pass.deltaTheta);
        return;
    }
    pass.firstDensity *= pass.firstRatio;
    pass.firstRatio *= firstRatioGrowth;
    pass.rowRatio *= rowRatioGrowth;
}

double VoteShape::exponent(const Row& row, double deltaRho) const {
    const double z = deltaRho * deltaRho / sigma2Rho -
                     twoR * deltaRho * row.deltaTheta / sigmaProduct + row.thetaTerm;
    return -z / twoOneMinusR2;
}

double VoteShape::scaledDensity(const Row& row, double deltaRho) const {
    const double z = deltaRho * deltaRho / sigma2Rho -
                     twoR * deltaRho * row.deltaTheta / sigmaProduct + row.thetaTerm;
    // Far enough out, the vote is surely 0: no need for the exponential.
    if (z > zeroBeyond) {
        return 0;
    }
    const double density = std::exp(-z / twoOneMinusR2) / normaliser;
    return scale * density;
}

VoteShape::Walk VoteShape::restartAt(const Row& row, double deltaRho) const {
    const double ratio = std::exp(exponent(row, deltaRho + rhoStep) - exponent(row, deltaRho));
    return {deltaRho, scaledDensity(row, deltaRho), ratio, 0};
}

// A cell gets a vote when scale · G >= 0.5, that is when z is at most
// -2(1 - r²) · ln(0.5 · normaliser / scale). The small allowance keeps the
// shortcut from deciding any cell that rounding could tip either way.
double VoteShape::noVoteBeyond() const {
    constexpr double kAllowance = 1e-9;
    const double limit = -twoOneMinusR2 * std::log(0.5 * normaliser / scale);
    return limit + kAllowance * (std::fabs(limit) + 1);
}
