#include "app/tracker/CsvTracker.h"

#include "output/OutputDispatcher.h"

#include <algorithm>

namespace {

constexpr double kNanosecondsPerMillisecond = 1e6;
// Microseconds: the delay from arrival to output is well under a millisecond.
constexpr int kDelayDecimals = 3;

// Enough digits to give back the exact float.
QString number(double value) {
    constexpr int kFloatDigits = 9;
    return QString::number(value, 'g', kFloatDigits);
}

} // namespace

CsvTracker::CsvTracker(const TrackerOptions& options, QTextStream& out)
    : out(out)
    , lineCount(options.lineCount)
    , printState(options.printState) {
    processor.rollResponse = options.rollResponse;
    processor.pitchResponse = options.pitchResponse;
    processor.setEstimator(options.estimator);
    connect(&processor, &VideoProcessor::dataUpdate, this, &CsvTracker::rememberAttitude);
    connect(&processor, &VideoProcessor::outputDelay, this, &CsvTracker::rememberOutputDelay);
}

void CsvTracker::writeHeader() {
    out << "frame,width,height,updated,roll,pitch" << (printState ? ",state,delay_ms\n" : "\n");
}

void CsvTracker::connectOutputs(OutputDispatcher& outputs) {
    connect(&processor, &VideoProcessor::dataUpdate, &outputs, &OutputDispatcher::dataUpdate);
}

void CsvTracker::track(std::unique_ptr<I::Image> frame) {
    const int width = frame->width;
    const int height = frame->height;
    updatedThisFrame = false;
    outputDelayThisFrame.reset();
    processor.processFrame(frame.release());

    out << frameIndex << ',' << width << ',' << height << ',' << (updatedThisFrame ? 1 : 0) << ',';
    if (anyUpdate) {
        out << number(lastRoll) << ',' << number(lastPitch);
    } else {
        out << ',';
    }
    if (printState) {
        out << ',' << trackingStateName(processor.trackingState()) << ',';
        if (outputDelayThisFrame) {
            out << QString::number(*outputDelayThisFrame / kNanosecondsPerMillisecond, 'f',
                                   kDelayDecimals);
        }
    }
    out << '\n';
    if (processor.detectorRanInLastFrame()) {
        writeLines(frameIndex);
    }
    ++frameIndex;
}

void CsvTracker::rememberAttitude(float _roll, float _pitch) {
    updatedThisFrame = true;
    anyUpdate = true;
    lastRoll = _roll;
    lastPitch = _pitch;
}

void CsvTracker::rememberOutputDelay(qint64 nanoseconds) {
    outputDelayThisFrame = nanoseconds;
}

void CsvTracker::writeLines(int frame) {
    const LineList& lines = processor.candidates();
    const int shown = std::min(lineCount, int(lines.size()));
    for (int i = 0; i < shown; ++i) {
        out << "lines," << frame << ',' << i << ',' << number(lines[i].rho) << ','
            << number(lines[i].theta) << '\n';
    }
}
