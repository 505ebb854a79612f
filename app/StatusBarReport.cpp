#include "app/StatusBarReport.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kMeasureMilliseconds = 1000;
constexpr double kNanosecondsPerMillisecond = 1e6;
constexpr double kMillisecondsPerSecond = 1e3;
const QString kSeparator = QStringLiteral(" \u00b7 ");

// Whole milliseconds, but tenths below one, so that a delay well under a
// millisecond does not read as none.
QString millisecondsText(double milliseconds) {
    return milliseconds < 1.0 ? QString::number(milliseconds, 'f', 1)
                              : QString::number(std::lround(milliseconds));
}

// Taken in place: the delays are gathered afresh for every measurement.
double medianMilliseconds(std::vector<qint64>& nanoseconds) {
    const auto middle = nanoseconds.begin() + std::ptrdiff_t(nanoseconds.size() / 2);
    std::nth_element(nanoseconds.begin(), middle, nanoseconds.end());
    return double(*middle) / kNanosecondsPerMillisecond;
}

QString trackingText(TrackingState state) {
    switch (state) {
    case TrackingState::Tracking:
        return StatusBarReport::tr("tracking");
    case TrackingState::Lost:
        return StatusBarReport::tr("arms lost");
    case TrackingState::Searching:
        break;
    }
    return StatusBarReport::tr("searching for the arms");
}
} // namespace

StatusBarReport::StatusBarReport(QLabel& label, QObject* parent)
    : QObject(parent)
    , label(label) {
    connect(&measuring, &QTimer::timeout, this, &StatusBarReport::measure);
    measuring.start(kMeasureMilliseconds);
    show();
}

void StatusBarReport::captureStarted(const QString& name, const QSize& size, int framesPerSecond) {
    running = true;
    sourceName = name;
    frameSize = size;
    sourceRate = framesPerSecond;
    tracking.reset();
    measured.clear();
    framesReceived = 0;
    analysisNanoseconds = 0;
    outputDelays.clear();
    sinceMeasured.start();
    show();
}

void StatusBarReport::captureStopped() {
    stop(QString());
}

void StatusBarReport::sourceEnded(const QString& why) {
    stop(tr("%1: %2").arg(sourceName, why));
}

void StatusBarReport::sourceUnplugged() {
    stop(tr("%1 was unplugged").arg(sourceName));
}

void StatusBarReport::stop(const QString& why) {
    running = false;
    stopReason = why;
    show();
}

// Frames still queued when capture stopped are not counted for the next run.
void StatusBarReport::frameAnalysed(qint64 nanoseconds) {
    if (!running)
        return;
    ++framesReceived;
    analysisNanoseconds += nanoseconds;
}

void StatusBarReport::outputDelay(qint64 nanoseconds) {
    if (running)
        outputDelays.push_back(nanoseconds);
}

void StatusBarReport::setTracking(TrackingState state) {
    if (!running || tracking == state)
        return;
    tracking = state;
    show();
}

void StatusBarReport::setOutputs(const QStringList& names) {
    outputs = names;
    show();
}

void StatusBarReport::setPaused(bool paused) {
    outputsPaused = paused;
    show();
}

void StatusBarReport::setDemoInPlaceOfCamera(const QString& name) {
    demoInPlaceOfCamera = name;
    show();
}

void StatusBarReport::measure() {
    if (running && frameSize.isValid() && sinceMeasured.isValid()) {
        const qint64 elapsed = std::max<qint64>(sinceMeasured.restart(), 1);
        measured = tr("received %1 fps")
                       .arg(framesReceived * kMillisecondsPerSecond / double(elapsed), 0, 'f', 1);
        if (!outputDelays.empty())
            measured += kSeparator +
                        tr("delay %1 ms").arg(millisecondsText(medianMilliseconds(outputDelays)));
        if (framesReceived > 0)
            measured += kSeparator +
                        tr("analysis %1 ms per frame")
                            .arg(analysisNanoseconds / kNanosecondsPerMillisecond / framesReceived,
                                 0, 'f', 1);
        framesReceived = 0;
        analysisNanoseconds = 0;
        outputDelays.clear();
    }
    show();
}

void StatusBarReport::show() {
    QStringList parts;
    if (running) {
        parts << sourceText();
        if (tracking)
            parts << trackingText(*tracking);
        if (!measured.isEmpty())
            parts << measured;
    } else {
        parts << tr("Stopped");
        if (!stopReason.isEmpty())
            parts << stopReason;
    }
    if (outputsPaused)
        parts << tr("Paused");
    if (!outputs.isEmpty())
        parts << tr("outputs: %1").arg(outputs.join(QStringLiteral(", ")));
    label.setText(parts.join(kSeparator));
}

QString StatusBarReport::sourceText() const {
    if (sourceName.isEmpty())
        return tr("No camera");
    if (!frameSize.isValid())
        return tr("%1 could not be opened").arg(sourceName);
    const QString shownName = !demoInPlaceOfCamera.isEmpty() && sourceName == demoInPlaceOfCamera
                                  ? tr("No camera found: showing the demo camera")
                                  : sourceName;
    QString text =
        shownName + kSeparator + tr("%1\u00d7%2").arg(frameSize.width()).arg(frameSize.height());
    if (sourceRate > 0)
        text += kSeparator + tr("%1 fps").arg(sourceRate);
    return text;
}
