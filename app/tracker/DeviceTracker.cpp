#include "app/tracker/DeviceTracker.h"

#include "app/tracker/CameraControlOptions.h"
#include "app/tracker/CsvTracker.h"
#include "capture/VideoInputThr.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <memory>

namespace {

// A camera or video that has delivered nothing for this long is taken for
// broken; the tracker must end rather than wait for ever.
constexpr int kSilenceMilliseconds = 10000;
constexpr unsigned long kStopMilliseconds = 5000;
constexpr int kSuccess = 0;
constexpr int kBadInput = 1;

} // namespace

DeviceTracker::DeviceTracker(VideoInputThr& capture, CsvTracker& tracker,
                             const TrackerOptions& options)
    : capture(capture)
    , tracker(tracker)
    , options(options) {
    silenceTimer.setInterval(kSilenceMilliseconds);
    silenceTimer.setSingleShot(true);
    connect(&silenceTimer, &QTimer::timeout, this, &DeviceTracker::reportSilence);
    // Frames are emitted on the capture thread and tracked here, in the
    // event loop's thread, one at a time.
    connect(&capture, &VideoInputThr::capturedFrame, this, &DeviceTracker::receiveFrame,
            Qt::QueuedConnection);
}

bool DeviceTracker::start(QString& error) {
    int device = -1;
    if (!findDevice(device, error) || !setUpControls(device, nullptr, error)) {
        return false;
    }
    silenceTimer.start();
    capture.startDevice(device, options.captureSize.width(), options.captureSize.height(),
                        options.framesPerSecond);
    return true;
}

// The demo camera and video files join the list after the cameras, so the
// one just added is the last.
bool DeviceTracker::findDevice(int& device, QString& error) {
    const QString source = describeInput(options);
    if (options.input == TrackerInput::VideoFile) {
        const QFileInfo file(options.inputPath);
        if (!file.isFile() || !file.isReadable()) {
            error = tr("%1: no such readable file").arg(source);
            return false;
        }
        capture.addVideoFile(options.inputPath);
    } else if (options.input == TrackerInput::DemoCamera) {
        capture.addDemoCamera();
    }
    const QMap<int, QString> devices = capture.deviceList();
    if (options.input != TrackerInput::Camera) {
        if (devices.isEmpty()) {
            error = tr("%1: the capture layer could not add it (see its lines above)").arg(source);
            return false;
        }
        device = devices.lastKey();
        return true;
    }
    if (!devices.contains(options.cameraIndex)) {
        error = devices.isEmpty() ? tr("%1: no such camera, none was found").arg(source)
                                  : tr("%1: no such camera, the cameras are 0 to %2")
                                        .arg(source)
                                        .arg(devices.lastKey());
        return false;
    }
    device = options.cameraIndex;
    return true;
}

bool DeviceTracker::listControls(QTextStream& out, QString& error) {
    int device = -1;
    return findDevice(device, error) && setUpControls(device, &out, error);
}

// A run sets the camera up as the window left it, and as --control asks,
// before its first frame; a source without controls is fine unless controls
// were asked for. A listing alone changes nothing, so it shows the camera
// as it is.
bool DeviceTracker::setUpControls(int device, QTextStream* listing, QString& error) {
    CameraControlOptions controls(capture.openControls(device), capture.deviceList().value(device));
    const bool asked = listing || !options.controls.isEmpty();
    if (!controls.available()) {
        if (asked) {
            error = tr("%1 has no controls").arg(describeInput(options));
        }
        return !asked;
    }
    if ((!listing || !options.controls.isEmpty()) && !controls.apply(options.controls, error)) {
        return false;
    }
    return !listing || controls.list(*listing, error);
}

void DeviceTracker::stop() {
    finish(kSuccess);
}

void DeviceTracker::receiveFrame(I::Image* frame) {
    // Every frame delivered is ours to free, also those delivered after the
    // run has ended.
    std::unique_ptr<I::Image> owned(frame);
    if (finished) {
        return;
    }
    silenceTimer.start();
    tracker.track(std::move(owned));
    // Rows of a live source are read while it runs.
    tracker.flush();
    ++framesTracked;
    if (options.frameLimit > 0 && framesTracked >= options.frameLimit) {
        finish(kSuccess);
    }
}

void DeviceTracker::reportSilence() {
    const QString text = framesTracked == 0 ? tr("%1: no frame arrived within %2 s")
                                            : tr("%1: no new frame for %2 s");
    failureText = text.arg(describeInput(options), QString::number(kSilenceMilliseconds / 1000));
    finish(kBadInput);
}

void DeviceTracker::finish(int exitCode) {
    if (finished) {
        return;
    }
    finished = true;
    silenceTimer.stop();
    capture.stopDevice();
    stuck = !capture.wait(kStopMilliseconds);
    // Posted behind the frames the thread emitted before it ended, so that
    // each of them is received, and freed, before the loop ends.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [exitCode] { QCoreApplication::exit(exitCode); },
        Qt::QueuedConnection);
}
