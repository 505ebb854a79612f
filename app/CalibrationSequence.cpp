#include "app/CalibrationSequence.h"

#include <algorithm>
#include <cmath>

namespace {

enum StepIndex { kLevelAtRest, kBankLeft, kBankRight, kArmsRaised, kArmsLowered };

// The estimator's pitch is centred on 0; the pitch sliders put that at this
// value.
constexpr double kPitchSliderCentre = 127.5;
constexpr int kSliderLowest = 0;
constexpr int kSliderHighest = 255;

// A limit stops a tenth of its side short of the extreme the user reached,
// so that a full deflection needs no strain.
constexpr double kReachedShare = 0.9;

// An extreme this many slider steps beyond the zero is a movement to the
// side asked for; less is the user's rest, noise, or a move the wrong way,
// which would leave an axis with no travel or reversed.
constexpr double kLeastTravel = 5;

struct StepText {
    const char* instruction;
    const char* further;
};

const StepText kStepTexts[CalibrationSequence::kStepCount] = {
    {QT_TRANSLATE_NOOP("CalibrationSequence", "Hold your arms level and at rest."), ""},
    {QT_TRANSLATE_NOOP("CalibrationSequence", "Bank fully to the left."),
     QT_TRANSLATE_NOOP("CalibrationSequence",
                       "That was not far enough to the left: bank further left.")},
    {QT_TRANSLATE_NOOP("CalibrationSequence", "Bank fully to the right."),
     QT_TRANSLATE_NOOP("CalibrationSequence",
                       "That was not far enough to the right: bank further right.")},
    {QT_TRANSLATE_NOOP("CalibrationSequence", "Raise your arms as high as is comfortable."),
     QT_TRANSLATE_NOOP("CalibrationSequence",
                       "Your arms did not rise far enough: raise them higher.")},
    {QT_TRANSLATE_NOOP("CalibrationSequence", "Lower your arms as far as is comfortable."),
     QT_TRANSLATE_NOOP("CalibrationSequence",
                       "Your arms did not go down far enough: lower them further.")},
};

} // namespace

CalibrationSequence::CalibrationSequence(qint64 startMs)
    : phaseStartMs(startMs)
    , nowMs(startMs) {}

// A late call may cross several phases at once; each is closed at its own
// end, so the steps keep their timing however rarely they are moved on.
void CalibrationSequence::advanceTo(qint64 timeMs) {
    nowMs = std::max(nowMs, timeMs);
    while (currentPhase != Phase::Done && nowMs >= phaseEndMs()) {
        const qint64 endMs = phaseEndMs();
        if (currentPhase == Phase::Countdown) {
            currentPhase = Phase::Recording;
            phaseStartMs = endMs;
            recorded = {};
        } else {
            finishRecording(endMs);
        }
    }
}

void CalibrationSequence::takeEstimate(qint64 timeMs, float _roll, float _pitch) {
    advanceTo(timeMs);
    if (currentPhase != Phase::Recording)
        return;
    const double pitch = _pitch + kPitchSliderCentre;
    if (recorded.count == 0) {
        recorded.lowestRoll = recorded.highestRoll = _roll;
        recorded.lowestPitch = recorded.highestPitch = pitch;
    }
    ++recorded.count;
    recorded.rollSum += _roll;
    recorded.pitchSum += _pitch;
    recorded.lowestRoll = std::min(recorded.lowestRoll, double(_roll));
    recorded.highestRoll = std::max(recorded.highestRoll, double(_roll));
    recorded.lowestPitch = std::min(recorded.lowestPitch, pitch);
    recorded.highestPitch = std::max(recorded.highestPitch, pitch);
}

int CalibrationSequence::secondsLeft() const {
    if (currentPhase == Phase::Done)
        return 0;
    return int((phaseEndMs() - nowMs + 999) / 1000);
}

QString CalibrationSequence::instruction() const {
    return tr(kStepTexts[step].instruction);
}

qint64 CalibrationSequence::phaseEndMs() const {
    return phaseStartMs + (currentPhase == Phase::Countdown ? kCountdownMs : kRecordingMs);
}

// A step that measured nothing usable starts again from its countdown.
void CalibrationSequence::finishRecording(qint64 endMs) {
    whyRepeated = measureStep();
    phaseStartMs = endMs;
    if (!whyRepeated.isEmpty()) {
        currentPhase = Phase::Countdown;
    } else if (step + 1 < kStepCount) {
        ++step;
        currentPhase = Phase::Countdown;
    } else {
        currentPhase = Phase::Done;
    }
}

QString CalibrationSequence::measureStep() {
    if (recorded.count == 0) {
        return tr("Your arms were not found: stand where the camera sees both of them, then "
                  "hold the position again.");
    }
    switch (step) {
    case kLevelAtRest: {
        const CentredZeros zeros = Calibration::centredZeros(
            float(recorded.rollSum / recorded.count), float(recorded.pitchSum / recorded.count));
        measured.roll.zero = zeros.roll;
        measured.pitch.zero = zeros.pitch;
        return {};
    }
    case kBankLeft:
        return setLimit(measured.roll.minimum, recorded.lowestRoll, measured.roll.zero, -1);
    case kBankRight:
        return setLimit(measured.roll.maximum, recorded.highestRoll, measured.roll.zero, +1);
    // Raised arms put the line above the picture's centre, which reads below
    // the zero: they make the pitch minimum.
    case kArmsRaised:
        return setLimit(measured.pitch.minimum, recorded.lowestPitch, measured.pitch.zero, -1);
    default:
        return setLimit(measured.pitch.maximum, recorded.highestPitch, measured.pitch.zero, +1);
    }
}

// side is -1 for a minimum, +1 for a maximum.
QString CalibrationSequence::setLimit(int& limit, double extreme, int zero, int side) {
    if (side * (extreme - zero) < kLeastTravel)
        return tr(kStepTexts[step].further);
    limit = std::clamp(int(std::lround(zero + kReachedShare * (extreme - zero))), kSliderLowest,
                       kSliderHighest);
    return {};
}
