#include "app/CalibrationSequence.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// Each step is three seconds of countdown, then one of recording.
constexpr qint64 kStepMs = 4000;
constexpr qint64 kRecordingStartMs = 3000;

// The step's recording second sees each (roll, pitch) once; the time at its
// end closes it.
void record(CalibrationSequence& sequence, qint64 stepStartMs,
            std::initializer_list<std::pair<float, float>> poses) {
    qint64 at = stepStartMs + kRecordingStartMs;
    for (const auto& [roll, pitch] : poses)
        sequence.takeEstimate(at += 100, roll, pitch);
    sequence.advanceTo(stepStartMs + kStepMs);
}

TEST(CalibrationSequenceTest, FiveStepsSetTheZerosAndEachLimitATenthShortOfTheExtreme) {
    CalibrationSequence sequence(1000);
    EXPECT_EQ(sequence.secondsLeft(), 3);
    sequence.advanceTo(3999);
    EXPECT_EQ(sequence.secondsLeft(), 1);
    // Level: roll mean 128, pitch mean -1.5, which is 126 on the sliders.
    record(sequence, 1000, {{127, -2.5f}, {129, -0.5f}});
    // Moving into position during the countdown does not count.
    sequence.takeEstimate(5500, 0, 0);
    // Left: 128 + 0.9 × (48 − 128) = 56. Right: 128 + 0.9 × (228 − 128) = 218.
    record(sequence, 5000, {{60, 0}, {48, 0}, {70, 0}});
    record(sequence, 9000, {{200, 0}, {228, 0}});
    // Raised: -87.5 is 40 on the sliders; 126 + 0.9 × (40 − 126) = 48.6.
    record(sequence, 13000, {{128, -60}, {128, -87.5f}});
    // Lowered: 72.5 is 200 on the sliders; 126 + 0.9 × (200 − 126) = 192.6.
    record(sequence, 17000, {{128, 72.5f}, {128, 50}});
    ASSERT_TRUE(sequence.isDone());

    const Calibration& result = sequence.result();
    EXPECT_EQ(result.roll.zero, 128);
    EXPECT_EQ(result.roll.minimum, 56);
    EXPECT_EQ(result.roll.maximum, 218);
    EXPECT_EQ(result.pitch.zero, 126);
    EXPECT_EQ(result.pitch.minimum, 49);
    EXPECT_EQ(result.pitch.maximum, 193);
}

// A step that repeats starts again from its countdown and says why; the
// values measured before it are kept.
TEST(CalibrationSequenceTest, StepRepeatsWhenTheArmsAreLostOrTheMoveIsTooSmallOrTheWrongWay) {
    CalibrationSequence sequence(0);
    record(sequence, 0, {});
    EXPECT_EQ(sequence.stepNumber(), 1);
    EXPECT_EQ(sequence.phase(), CalibrationSequence::Phase::Countdown);
    EXPECT_EQ(sequence.secondsLeft(), 3);
    EXPECT_TRUE(sequence.problem().startsWith("Your arms were not found: "));

    record(sequence, 4000, {{100, 0}});
    EXPECT_TRUE(sequence.problem().isEmpty());
    // Banked right when asked to bank left, then barely left of the zero.
    record(sequence, 8000, {{150, 0}});
    EXPECT_EQ(sequence.stepNumber(), 2);
    EXPECT_FALSE(sequence.problem().isEmpty());
    record(sequence, 12000, {{97, 0}});
    // Late times cross the next countdown and recording in one go.
    sequence.takeEstimate(19500, 50, 0);
    sequence.advanceTo(24000);
    EXPECT_EQ(sequence.stepNumber(), 3);
    EXPECT_EQ(sequence.result().roll.zero, 100);
    EXPECT_EQ(sequence.result().roll.minimum, 55);
}

} // namespace
