#include "analysis/AttitudeEstimator.h"
#include "analysis/EstimateOverlay.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSettle = 200;

// A candidate whose offset below the centre, at the centre column, is offset.
Line lineAt(double theta, double offset) {
    return {offset * std::sin(theta * kPi / 180), theta};
}

// A list whose accepted candidates sit at the given positions; the others are
// vertical lines, which are never accepted.
LineList acceptedAt(std::initializer_list<int> positions, double theta, int length = 16) {
    LineList lines(length, Line{10.0, 0.0});
    for (int position : positions) {
        lines[position] = lineAt(theta, 0);
    }
    return lines;
}

class Estimator : public ::testing::Test {
protected:
    AttitudeEstimator estimator;
};

TEST_F(Estimator, SettledEstimateGivesWorkedRollAndPitch) {
    const LineList steady = {lineAt(100, 24)};
    for (int i = 0; i < kSettle; ++i) {
        estimator.update(steady, 200, 200);
    }
    EXPECT_FLOAT_EQ(estimator.roll(320), 143.4375f);
    EXPECT_NEAR(estimator.pitch(240), 12.75f, 1e-5);
}

TEST_F(Estimator, ResponseSetsHowFarOneHitMoves) {
    EXPECT_TRUE(estimator.update({lineAt(100, 0)}, 10, 10));
    EXPECT_DOUBLE_EQ(estimator.smoothedAngle(), 90.5);

    AttitudeEstimator frozen;
    for (int i = 0; i < 10; ++i) {
        frozen.update({lineAt(100, 30)}, 0, 0);
    }
    EXPECT_DOUBLE_EQ(frozen.smoothedAngle(), 90.0);
    EXPECT_DOUBLE_EQ(frozen.smoothedOffset(), 0.0);
}

TEST_F(Estimator, WeighsPlausibleCandidatesAmongTheFirstFifteenByPosition) {
    LineList lines = acceptedAt({0}, 100);
    lines[3] = lineAt(80, 0);
    const CandidateWeights weights = estimator.weigh(lines);
    EXPECT_EQ(weights.weight, 29);
    EXPECT_DOUBLE_EQ(weights.angleSum / weights.weight, (16 * 100.0 + 13 * 80.0) / 29);

    const LineList rejected = {{0, 30.0}, {0, 150.0}, lineAt(135, 0), lineAt(45, 0)};
    EXPECT_EQ(estimator.weigh(rejected).weight, 0);
    EXPECT_EQ(estimator.weigh({lineAt(134.9, 0)}).weight, 16);
    EXPECT_EQ(estimator.weigh(acceptedAt({15}, 90)).weight, 0);
    EXPECT_EQ(estimator.weigh(acceptedAt({14}, 90)).weight, 2);
}

TEST_F(Estimator, LostLineDriftsToLevelUntilAClearLineReturns) {
    for (int i = 0; i < kSettle; ++i) {
        estimator.update({lineAt(110, 20)}, 12, 12);
    }
    for (int miss = 1; miss <= 46; ++miss) {
        EXPECT_FALSE(estimator.update({}, 12, 12));
        EXPECT_EQ(estimator.missCount(), miss);
    }

    const double before = estimator.smoothedAngle();
    EXPECT_TRUE(estimator.update({}, 12, 12));
    EXPECT_LT(estimator.smoothedAngle(), before);
    EXPECT_LT(estimator.smoothedOffset(), 20.0);

    // One candidate (weight 16) or two weighing 22 keep the lost state.
    EXPECT_TRUE(estimator.update(acceptedAt({0}, 120), 12, 12));
    EXPECT_TRUE(estimator.update(acceptedAt({0, 10}, 120), 12, 12));
    EXPECT_EQ(estimator.missCount(), 46);
    EXPECT_LT(estimator.smoothedAngle(), before);

    const double lostAngle = estimator.smoothedAngle();
    EXPECT_TRUE(estimator.update(acceptedAt({0, 9}, 120), 12, 12));
    EXPECT_EQ(estimator.missCount(), 0);
    EXPECT_GT(estimator.smoothedAngle(), lostAngle);
}

TEST(EstimatedLineRow, PassesThroughTheEstimateAtItsAngle) {
    // Tilted 30 degrees from level with the estimate 24 pixels below the
    // centre of a 320 x 240 picture: the line falls tan 30 degrees per pixel.
    EXPECT_EQ(estimatedLineRow(160, 120, 24, 320, 240), 144);
    EXPECT_NEAR(estimatedLineRow(0, 120, 24, 320, 240), 144 - 160 * std::tan(kPi / 6), 1.0);
    EXPECT_NEAR(estimatedLineRow(320, 120, 24, 320, 240), 144 + 160 * std::tan(kPi / 6), 1.0);
    EXPECT_EQ(estimatedLineRow(0, 90, -30, 160, 120), 30);
}

} // namespace
