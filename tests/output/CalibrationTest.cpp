#include "output/Calibration.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr AxisCalibration kDefaultAxis{};

TEST(Calibration, PutsEachAxisBetweenItsLimitsAroundItsZero) {
    // Inputs as the estimator emits them: roll 127.5 for level arms, pitch 0
    // for arms through the picture's centre and negative for raised arms.
    const struct {
        AxisCalibration axis;
        float input;
        double expectedRoll;
        double expectedPitch;
    } cases[] = {
        {kDefaultAxis, 127.0f, 0.0, 0.0},
        {kDefaultAxis, 191.0f, 64.0 / 128, -0.5},       // right hand lower; arms lowered
        {kDefaultAxis, 63.0f, -64.0 / 127, 64.0 / 127}, // left hand lower; arms raised
        {kDefaultAxis, 400.0f, 1.0, -1.0},              // clamped beyond the limits
        {kDefaultAxis, -300.0f, -1.0, 1.0},
        {{100, 50, 200, false}, 75.0f, -0.5, 0.5}, // narrower limits, either side
        {{100, 50, 200, false}, 150.0f, 0.5, -0.5},
        {{100, 100, 200, false}, 20.0f, 0.0, 0.0}, // lower side without travel
        {{100, 0, 100, false}, 180.0f, 0.0, 0.0},  // upper side without travel
        {{100, 150, 60, false}, 120.0f, 0.0, 0.0}, // limits stored out of order
        {{127, 0, 255, true}, 191.0f, -0.5, 0.5},  // inverted
        {{127, 0, 255, true}, 127.0f, 0.0, 0.0},
    };
    for (const auto& c : cases) {
        Calibration rollOnly;
        rollOnly.roll = c.axis;
        const double roll = rollOnly.calibrate(c.input, 0).roll;
        EXPECT_DOUBLE_EQ(roll, c.expectedRoll) << c.input;

        Calibration pitchOnly;
        pitchOnly.pitch = c.axis;
        const double pitch = pitchOnly.calibrate(127.5f, c.input - 127.5f).pitch;
        EXPECT_DOUBLE_EQ(pitch, c.expectedPitch) << c.input;
        // A centred axis is +0 in every output's bytes, inverted or not.
        EXPECT_FALSE(c.expectedRoll == 0 && std::signbit(roll)) << c.input;
        EXPECT_FALSE(c.expectedPitch == 0 && std::signbit(pitch)) << c.input;
    }
}

TEST(Calibration, CentringMakesTheCurrentAttitudeTheZeroOfBothAxes) {
    const struct {
        float roll, pitch;
        int zeroRoll, zeroPitch;
    } cases[] = {{127.5f, 0.0f, 128, 128},
                 {10.4f, -20.6f, 10, 107},
                 {300.0f, -200.0f, 255, 0},
                 {-5.0f, 180.0f, 0, 255}};
    for (const auto& c : cases) {
        const CentredZeros zeros = Calibration::centredZeros(c.roll, c.pitch);
        EXPECT_EQ(zeros.roll, c.zeroRoll) << c.roll;
        EXPECT_EQ(zeros.pitch, c.zeroPitch) << c.pitch;

        Calibration centred;
        centred.roll.zero = zeros.roll;
        centred.pitch.zero = zeros.pitch;
        const CalibratedAttitude attitude = centred.calibrate(c.roll, c.pitch);
        EXPECT_LT(std::abs(attitude.roll), 0.004) << c.roll;
        EXPECT_LT(std::abs(attitude.pitch), 0.004) << c.pitch;
    }
}

} // namespace
