#include "analysis/VoteShape.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

} // namespace

VoteShape::VoteShape(const Kernel& kernel, double scale, double rhoStep)
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
    , ratioGrowth(std::exp(-2 * rhoStep * rhoStep / (sigma2Rho * twoOneMinusR2))) {}

VoteShape::Row VoteShape::row(double deltaTheta) const {
    return {deltaTheta, deltaTheta * deltaTheta / sigma2Theta};
}

VoteShape::Walk VoteShape::startWalk(const Row& row, double deltaRho) const {
    return restartAt(row, deltaRho);
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
