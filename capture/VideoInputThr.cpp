#include "capture/VideoInputThr.h"

#include "capture/PixelWidening.h"
#include "capture/platform/DefaultCapturePlatform.h"

namespace {
// A frame or a stop wakes the run at once; the bound is how soon it notices
// a source that has ended by itself, which no event announces.
constexpr int kWakeUpBoundMilliseconds = 20;
// The device layer hands out pixels of blue, green and red.
constexpr std::size_t kSourceBytesPerPixel = 3;
} // namespace

VideoInputThr::VideoInputThr()
    : VideoInputThr(makeDefaultCapturePlatform()) {}

VideoInputThr::VideoInputThr(std::unique_ptr<CapturePlatform> platform)
    : platform_(std::move(platform)) {
    // Frames cross to receivers in other threads inside queued events.
    qRegisterMetaType<FrameCarrier>();
}

VideoInput& VideoInputThr::input() {
    if (!videoInput_) {
        videoInput_ = std::make_unique<VideoInput>(std::move(platform_));
        videoInput_->signalArrivals(wakeUp_);
    }
    return *videoInput_;
}

VideoInputThr::~VideoInputThr() {
    QMutexLocker locker(&lock_);
    if (!isRunning()) {
        return;
    }
    input().disconnectDevice(currentDevice_);
    requestStop();
    locker.unlock();
    wait();
}

QMap<int, QString> VideoInputThr::deviceList() {
    QMutexLocker locker(&lock_);
    QMap<int, QString> devices;
    const int count = input().enumerateDevices();
    for (int index = 0; index < count; ++index) {
        devices[index] = QString::fromLatin1(input().deviceName(index));
    }
    return devices;
}

void VideoInputThr::addDemoCamera() {
    QMutexLocker locker(&lock_);
    input().addDemoCamera();
}

void VideoInputThr::addVideoFile(const QString& path) {
    QMutexLocker locker(&lock_);
    input().addVideoFile(path.toStdString());
}

std::unique_ptr<platform::CameraControls> VideoInputThr::openControls(int index) {
    QMutexLocker locker(&lock_);
    return input().openControls(index);
}

void VideoInputThr::watchDevices(bool on) {
    QMutexLocker locker(&lock_);
    input().watchDevices(on ? std::function<void()>([this] { emit devicesChanged(); })
                            : std::function<void()>());
}

// A start while a run is under way changes nothing. A start while the
// previous run is still stopping waits for it to end and then starts, so the
// caller never believes capture runs when it does not.
void VideoInputThr::startDevice(int _id, int _width, int _height, int _framerate) {
    QMutexLocker locker(&lock_);
    if (isRunning()) {
        if (!stopRequested_) {
            return;
        }
        locker.unlock();
        wait();
        locker.relock();
        if (isRunning()) {
            return;
        }
    }
    stopRequested_ = false;
    currentDevice_ = _id;
    input().setFrameRate(_id, _framerate);
    const bool ready = input().setupDevice(_id, _width, _height);
    const char* setUpName = input().setUpName(_id);
    const QString name = QString::fromLatin1(setUpName ? setUpName : "");
    const QSize size = ready ? QSize(input().frameWidth(_id), input().frameHeight(_id)) : QSize();
    const int framesPerSecond = input().frameRate(_id);
    start();
    locker.unlock();
    emit captureStarted(name, size, framesPerSecond);
}

void VideoInputThr::stopDevice() {
    QMutexLocker locker(&lock_);
    requestStop();
}

// Called with lock_ held.
void VideoInputThr::requestStop() {
    stopRequested_ = true;
    wakeUp_.set();
}

void VideoInputThr::run() {
    const int deviceIndex = currentDevice_;
    std::size_t frameBytes = 0;
    {
        QMutexLocker locker(&lock_);
        frameBytes = static_cast<std::size_t>(input().frameSize(deviceIndex));
    }
    std::vector<uint8_t> source(frameBytes);

    // Reset before looking, so that a frame arriving after the look sets the
    // event again and the wait returns at once: no arrival is slept through.
    for (;;) {
        wakeUp_.reset();
        if (stopRequested_ || !pollDevice(deviceIndex, source)) {
            break;
        }
        wakeUp_.waitFor(kWakeUpBoundMilliseconds);
    }
    // Under the lock: the destructor may be disconnecting the device at this
    // very moment, before it waits for this thread.
    QMutexLocker locker(&lock_);
    input().disconnectDevice(currentDevice_);
    currentDevice_ = -1;
    lastEmitted_.reset();
}

// Takes a waiting frame, if any; false once the source has ended or failed
// by itself. The run then counts as stopped, so that a start from now on
// waits for its end and starts anew instead of being ignored.
bool VideoInputThr::pollDevice(int deviceIndex, std::vector<uint8_t>& source) {
    QMutexLocker locker(&lock_);
    if (stopRequested_) {
        return true;
    }
    if (input().hasNewFrame(deviceIndex)) {
        captureFrame(deviceIndex, source);
        return true;
    }
    const std::string failure = input().streamFailure(deviceIndex);
    if (failure.empty()) {
        return true;
    }
    stopRequested_ = true;
    locker.unlock();
    emit sourceEnded(QString::fromStdString(failure));
    return false;
}

// Called with lock_ held. The frame is widened straight into its own pixels,
// which it then carries to the analysis without another copy.
void VideoInputThr::captureFrame(int deviceIndex, std::vector<uint8_t>& source) {
    const std::size_t frameBytes = static_cast<std::size_t>(input().frameSize(deviceIndex));
    const int32_t width = input().frameWidth(deviceIndex);
    const int32_t height = input().frameHeight(deviceIndex);
    const bool wholePixels =
        frameBytes == std::size_t(width) * std::size_t(height) * kSourceBytesPerPixel;
    if (!wholePixels || frameBytes > source.size() ||
        !input().getPixels(deviceIndex, source.data(), source.size())) {
        return;
    }
    auto frame = std::make_unique<I::Image>(width, height, I::Image::Rgb32);
    widenToFourBytesPerPixel(source.data(), frameBytes, frame->data);
    frame->captureTime = input().capturedAt(deviceIndex);
    // The receiver is in another thread, which may be busy: a frame it has
    // not yet got to gives way to this newer one instead of queuing ahead of
    // it, so frames never pile up while the analysis is slower than the
    // camera, and each frame analysed is the freshest there is.
    if (lastEmitted_ && lastEmitted_->replaceWaiting(frame)) {
        return;
    }
    lastEmitted_.emplace(std::move(frame));
    emit capturedFrame(*lastEmitted_);
}
