#include "output/ResponseShaping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The defaults must not change a single bit of what the outputs got before
// shaping existed, a centred axis included.
TEST(ResponseShaping, DefaultsPassEveryValueThroughBitForBit) {
    const AxisResponse identity;
    for (double a : {-1.0, -0.7310001, -1e-12, 0.0, 1e-300, 0.3333333333, 0.999, 1.0}) {
        EXPECT_TRUE(sameBits(identity.shape(a), a)) << a;
    }
    EXPECT_FALSE(std::signbit(identity.shape(-0.0)));
}

TEST(ResponseShaping, DeadZoneExpoAndLimitFollowTheirFormulaOnBothSides) {
    const struct {
        AxisResponse response;
        double input;
        double expected;
    } cases[] = {
        {{0.2, 0, 1}, 0.2, 0.0}, // the dead zone's edge is inside it
        {{0.2, 0, 1}, -0.19, 0.0},
        {{0.2, 0, 1}, 0.6, 0.5}, // the rest stretched back over [0, 1]
        {{0.2, 0, 1}, -1.0, -1.0},
        {{0, 1, 1}, 0.5, 0.125}, // full expo is the cube
        {{0, 1, 1}, -0.5, -0.125},
        {{0, 0.5, 1}, 0.5, 0.3125},
        {{0, 1, 1}, 1.0, 1.0},
        {{0, 0, 0.4}, 1.0, 0.4},
        {{0, 0, 0.4}, -0.5, -0.2},
        {{0.1, 0.3, 0.8}, -0.55, -0.31}, // 0.8 × (0.7 × −0.5 + 0.3 × −0.125)
        {{0.5, 1, 0.1}, 1.0, 0.1},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(c.response.shape(c.input), c.expected, 1e-12)
            << c.response.deadZone << ' ' << c.response.expo << ' ' << c.response.limit << ' '
            << c.input;
        EXPECT_NEAR(c.response.shape(-c.input), -c.expected, 1e-12) << c.input;
    }

    // No step at the dead zone's edge, whatever the curve and the limit.
    const AxisResponse response{0.3, 0.6, 0.7};
    EXPECT_NEAR(response.shape(0.3 + 1e-9), 0.0, 1e-8);
    EXPECT_NEAR(response.shape(-0.3 - 1e-9), 0.0, 1e-8);
}

TEST(ResponseShaping, EachAxisHasItsOwnResponse) {
    ResponseShaping shaping;
    shaping.roll.limit = 0.5;
    shaping.pitch.deadZone = 0.5;
    const CalibratedAttitude shaped = shaping.shape({0.8, 0.4});
    EXPECT_DOUBLE_EQ(shaped.roll, 0.4);
    EXPECT_DOUBLE_EQ(shaped.pitch, 0.0);
}

} // namespace
