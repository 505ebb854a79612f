#include "capture/SampleGrabberCallback.h"

#include "capture/CaptureConsole.h"
#include "capture/MonotonicClock.h"

#include <cmath>
#include <cstring>

namespace {
constexpr int kFrameWaitMilliseconds = 1000;
constexpr int32_t kBytesPerPixel = 3;
constexpr double kNanosecondsPerSecond = 1e9;
} // namespace

platform::Status SampleGrabberCallback::sampleCB(double sampleTime, platform::MediaSample& sample) {
    // Taken first: the arrival is what a source without timestamps is timed
    // by, and the copy below belongs to the delay.
    const int64_t arrival = monotonic_clock::nowNanoseconds();
    // An untaken frame is never overwritten: this sample is simply lost.
    if (frameEvent_.isSet()) {
        return platform::kOk;
    }
    const uint8_t* samplePointer = nullptr;
    if (!platform::succeeded(sample.getPointer(samplePointer))) {
        return platform::kOk;
    }
    latestSampleLength_ = sample.actualDataLength();
    const bool fitsFrame = latestSampleLength_ == frameBytes_ &&
                           frameBuffer_.size() == static_cast<std::size_t>(frameBytes_);
    if (!fitsFrame || samplePointer == nullptr) {
        printCaptureLine("ERROR: SampleCB() - buffer sizes do not match\n");
        return platform::kOk;
    }
    {
        QMutexLocker locker(&lock_);
        std::memcpy(frameBuffer_.data(), samplePointer, frameBuffer_.size());
        newFrame_ = true;
        storedCaptureTime_ =
            sampleTime < 0 ? arrival : std::llround(sampleTime * kNanosecondsPerSecond);
    }
    frameEvent_.set();
    if (arrived_) {
        arrived_->set();
    }
    return platform::kOk;
}

platform::Status SampleGrabberCallback::bufferCB(double, const uint8_t*, int32_t) {
    return platform::kNotImplemented;
}

void SampleGrabberCallback::prepareBuffer(int32_t frameBytes) {
    frameBytes_ = frameBytes;
    frameBuffer_.assign(static_cast<std::size_t>(frameBytes), 0);
    bufferReady_ = true;
    newFrame_ = false;
    latestSampleLength_ = 0;
}

bool SampleGrabberCallback::hasNewFrame() {
    QMutexLocker locker(&lock_);
    return newFrame_;
}

bool SampleGrabberCallback::takeFrame(uint8_t* destination, std::size_t capacity, int32_t width,
                                      int32_t height) {
    if (!frameEvent_.waitFor(kFrameWaitMilliseconds)) {
        return false;
    }
    {
        QMutexLocker locker(&lock_);
        const std::size_t frameLength = std::size_t(width) * std::size_t(height) * kBytesPerPixel;
        if (frameLength > capacity || frameLength > frameBuffer_.size()) {
            return false;
        }
        copyRowsReversed(destination, width, height);
        newFrame_ = false;
        takenCaptureTime_ = storedCaptureTime_;
    }
    frameEvent_.reset();
    return true;
}

int64_t SampleGrabberCallback::takenCaptureTime() {
    QMutexLocker locker(&lock_);
    return takenCaptureTime_;
}

// The platform stores frames bottom-up; the destination gets the top row
// first. Bytes inside a row keep their order (blue, green, red).
void SampleGrabberCallback::copyRowsReversed(uint8_t* destination, int32_t width,
                                             int32_t height) const {
    const std::size_t rowBytes = std::size_t(width) * kBytesPerPixel;
    for (int32_t row = 0; row < height; ++row) {
        const uint8_t* storedRow = frameBuffer_.data() + std::size_t(height - 1 - row) * rowBytes;
        std::memcpy(destination + std::size_t(row) * rowBytes, storedRow, rowBytes);
    }
}
