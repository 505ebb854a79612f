#include "app/tracker/CsvTracker.h"

#include "output/OutputDispatcher.h"

#include <algorithm>

namespace {

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
}

void CsvTracker::writeHeader() {
    out << "frame,width,height,updated,roll,pitch" << (printState ? ",state\n" : "\n");
}

void CsvTracker::connectOutputs(OutputDispatcher& outputs) {
    connect(&processor, &VideoProcessor::dataUpdate, &outputs, &OutputDispatcher::dataUpdate);
}

void CsvTracker::track(std::unique_ptr<I::Image> frame) {
    const int width = frame->width;
    const int height = frame->height;
    updatedThisFrame = false;
    processor.processFrame(frame.release());

    out << frameIndex << ',' << width << ',' << height << ',' << (updatedThisFrame ? 1 : 0) << ',';
    if (anyUpdate) {
        out << number(lastRoll) << ',' << number(lastPitch);
    } else {
        out << ',';
    }
    if (printState) {
        out << ',' << trackingStateName(processor.trackingState());
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

void CsvTracker::writeLines(int frame) {
    const LineList& lines = processor.candidates();
    const int shown = std::min(lineCount, int(lines.size()));
    for (int i = 0; i < shown; ++i) {
        out << "lines," << frame << ',' << i << ',' << number(lines[i].rho) << ','
            << number(lines[i].theta) << '\n';
    }
}
