#pragma once

#include "output/Calibration.h"

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

// The guided calibration as plain logic: five steps, each a countdown and
// then a second of recording the estimator's attitude, measuring the zeros
// and the four limits on the sliders' scale. It keeps no clock of its own;
// it is moved on by the times it is given, in milliseconds of one monotonic
// clock.
class CalibrationSequence {
    Q_DECLARE_TR_FUNCTIONS(CalibrationSequence)

public:
    static constexpr int kStepCount = 5;
    static constexpr qint64 kCountdownMs = 3000;
    static constexpr qint64 kRecordingMs = 1000;

    enum class Phase { Countdown, Recording, Done };

    explicit CalibrationSequence(qint64 startMs);

    // Times earlier than one already given change nothing.
    void advanceTo(qint64 nowMs);
    // _roll and _pitch exactly as VideoProcessor::dataUpdate emits them; only
    // those that come while recording count.
    void takeEstimate(qint64 nowMs, float _roll, float _pitch);

    // From 1 to kStepCount; stays at the last once done.
    int stepNumber() const { return step + 1; }
    Phase phase() const { return currentPhase; }
    bool isDone() const { return currentPhase == Phase::Done; }
    // Whole seconds, rounded up, until the current phase ends.
    int secondsLeft() const;
    QString instruction() const;
    // Why the current step is being done again; empty when it is not.
    QString problem() const { return whyRepeated; }
    // The zeros and limits measured so far, complete once done. Inversion
    // is the user's own choice and is left at its default here.
    const Calibration& result() const { return measured; }

private:
    // What one step's second of recording saw, pitch on the sliders' scale.
    struct Recording {
        int count = 0;
        double rollSum = 0;
        double pitchSum = 0;
        double lowestRoll = 0;
        double highestRoll = 0;
        double lowestPitch = 0;
        double highestPitch = 0;
    };

    qint64 phaseEndMs() const;
    void finishRecording(qint64 endMs);
    QString measureStep();
    QString setLimit(int& limit, double extreme, int zero, int side);

    int step = 0;
    Phase currentPhase = Phase::Countdown;
    qint64 phaseStartMs;
    qint64 nowMs;
    Recording recorded;
    QString whyRepeated;
    Calibration measured;
};
