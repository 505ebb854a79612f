#include "output/OutputDispatcher.h"

#include "output/ProgramName.h"

#include <algorithm>
#include <cstdio>

namespace {

// A receiver that refuses the datagrams makes every other send fail, because
// the kernel reports the refusal on the send after the one refused. A streak
// of failures therefore only ends after this many good sends in a row, about
// a second of frames, or the same refusal would be reported over and over.
constexpr int kGoodSendsEndingStreak = 30;

} // namespace

OutputSink* OutputDispatcher::add(std::unique_ptr<OutputSink> sink, QString& error) {
    QString reason;
    if (!sink->open(reason)) {
        error = tr("%1: %2").arg(sink->name(), reason);
        return nullptr;
    }
    outputs.push_back({std::move(sink)});
    // An output opened during a pause joins the others at the centre.
    if (paused) {
        send(outputs.back(), {});
    }
    return outputs.back().sink.get();
}

void OutputDispatcher::remove(OutputSink* sink) {
    outputs.erase(
        std::remove_if(outputs.begin(), outputs.end(),
                       [sink](const Output& output) { return output.sink.get() == sink; }),
        outputs.end());
}

void OutputDispatcher::dataUpdate(float _roll, float _pitch) {
    lastRoll = _roll;
    lastPitch = _pitch;
    const CalibratedAttitude calibrated = calibration.calibrate(_roll, _pitch);
    if (!paused) {
        sent = response.shape(calibrated);
        for (Output& output : outputs) {
            send(output, sent);
        }
    }
    emit responded(calibrated, sent);
}

void OutputDispatcher::setPaused(bool pause) {
    if (pause == paused) {
        return;
    }
    paused = pause;
    if (paused) {
        sent = {};
        for (Output& output : outputs) {
            send(output, sent);
        }
    }
    emit pausedChanged(paused);
}

void OutputDispatcher::centre() {
    const CentredZeros zeros = Calibration::centredZeros(lastRoll, lastPitch);
    calibration.roll.zero = zeros.roll;
    calibration.pitch.zero = zeros.pitch;
}

void OutputDispatcher::send(Output& output, const CalibratedAttitude& attitude) {
    QString reason;
    if (!output.sink->send(attitude, reason)) {
        output.sendsSinceFailure = 0;
        report(output, reason);
    } else if (output.failing && ++output.sendsSinceFailure >= kGoodSendsEndingStreak) {
        output.failing = false;
    }
}

void OutputDispatcher::report(Output& output, const QString& reason) {
    if (output.failing) {
        return;
    }
    output.failing = true;
    const QString message =
        tr("%1: sending failed (%2); still trying").arg(output.sink->name(), reason);
    std::fprintf(stderr, "%s: %s\n", qPrintable(programName()), qPrintable(message));
    emit sendFailed(message);
}
