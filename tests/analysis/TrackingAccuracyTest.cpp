#include "TrackedScene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

// The precise estimator at the window's default responses on generated rooms
// with a person in them: how closely it follows held arms, how quickly it
// follows a move, and what it does when the arms stop or leave.
namespace {

constexpr double kLevel = 90;
constexpr double kLargestOffsetError = 2.0;
constexpr int kSettleFrames = 30;
constexpr int kMeasuredFrames = 15;

struct SizeTarget {
    int width, height;
    double largestAngleError;
};

void PrintTo(const SizeTarget& size, std::ostream* out) {
    *out << size.width << "x" << size.height;
}

class PreciseTracking : public ::testing::TestWithParam<SizeTarget> {
protected:
    TrackedScene tracked{GetParam().width, GetParam().height, EstimatorKind::Precise};
};

TEST_P(PreciseTracking, HeldArmsAreFoundAtTheirCentreLine) {
    for (double tilt : {-35.0, 35.0}) {
        for (double share : {-0.10, 0.10}) {
            const LineErrors errors = tracked.heldPoseErrors(
                {kLevel + tilt, tracked.offsetFor(share)}, kSettleFrames, kMeasuredFrames);
            EXPECT_LE(errors.worstAngle, GetParam().largestAngleError)
                << "tilt " << tilt << ", height " << share;
            EXPECT_LE(errors.worstOffset, kLargestOffsetError)
                << "tilt " << tilt << ", height " << share;
        }
    }
}

TEST_P(PreciseTracking, ThirtyDegreeStepsShowWithinFiveFramesAndHeldArmsStaySteady) {
    EXPECT_LE(tracked.framesToStep(-15, 15, kSettleFrames), 5);
    EXPECT_LE(tracked.framesToStep(25, -5, kSettleFrames), 5);
    EXPECT_LE(tracked.jitterDegrees({kLevel + 10, tracked.offsetFor(0.05)}, kSettleFrames, 60),
              0.2);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PreciseTracking,
                         ::testing::Values(SizeTarget{160, 120, 1.5}, SizeTarget{320, 240, 1.0},
                                           SizeTarget{640, 480, 1.0}),
                         [](const auto& size) { return ::testing::PrintToString(size.param); });

// With the arms still, only noise changes and the motion gate stays shut.
TEST(PreciseTrackingOfStillArms, TheEstimateStaysOnTheArmsWithoutDrifting) {
    TrackedScene tracked(320, 240, EstimatorKind::Precise);
    const ArmsPose pose{kLevel + 20, tracked.offsetFor(0.05)};
    const ArmsPose stopped = tracked.hold(pose, kSettleFrames).back().reported;
    const auto frames = tracked.hold(pose, 90, ArmScene::Person::Still);
    double angleDrift = 0, offsetDrift = 0;
    for (const TrackedScene::Frame& frame : frames) {
        angleDrift =
            std::max(angleDrift, std::fabs(frame.reported.angleDegrees - stopped.angleDegrees));
        offsetDrift = std::max(offsetDrift, std::fabs(frame.reported.offset - stopped.offset));
    }
    EXPECT_LE(angleDrift, 0.1);
    EXPECT_LE(offsetDrift, 0.5);
    EXPECT_NEAR(frames.back().reported.offset, frames.back().truth.offset, kLargestOffsetError);
}

// As long as the classic estimator waits before it gives a line up, the
// estimate holds; then it eases back to level, a little in each frame.
TEST(PreciseTrackingOfArmsThatLeave, TheEstimateHoldsThenEasesBackToLevel) {
    constexpr int kLostDelay = 46;
    constexpr double kTilt = 20;
    TrackedScene tracked(320, 240, EstimatorKind::Precise);
    const ArmsPose pose{kLevel + kTilt, tracked.offsetFor(0.05)};
    ArmsPose previous = tracked.hold(pose, kSettleFrames).back().reported;
    const auto frames = tracked.hold(pose, kLostDelay + 60, ArmScene::Person::Gone);
    double heldDeviation = 0, largestStep = 0;
    for (int frame = 0; frame < int(frames.size()); ++frame) {
        const ArmsPose reported = frames[frame].reported;
        if (frame < kLostDelay - 5) {
            heldDeviation =
                std::max(heldDeviation, std::fabs(reported.angleDegrees - pose.angleDegrees));
        }
        largestStep =
            std::max(largestStep, std::fabs(reported.angleDegrees - previous.angleDegrees));
        previous = reported;
    }
    EXPECT_LE(heldDeviation, 1.0);
    EXPECT_LE(largestStep, kTilt / 10);
    EXPECT_NEAR(previous.angleDegrees, kLevel, 1.0);
    EXPECT_NEAR(previous.offset, 0, kLargestOffsetError);
}

} // namespace
