#pragma once

#include "capture/ManualResetEvent.h"
#include "capture/platform/SampleGrabber.h"

#include <QMutex>
#include <cstddef>
#include <cstdint>
#include <vector>

// Receives the samples of one device on the platform's streaming thread and
// keeps one frame at a time for the capture thread. A stored frame is never
// overwritten before it is taken: later samples are dropped, so the taker
// always gets a whole frame.
class SampleGrabberCallback : public platform::SampleGrabberCB {
public:
    platform::Status sampleCB(double sampleTime, platform::MediaSample& sample) override;
    platform::Status bufferCB(double sampleTime, const uint8_t* buffer, int32_t length) override;

    bool isBufferReady() const { return bufferReady_; }
    // From now on every stored frame also sets arrived, which must outlive
    // this callback's registration with the grabber.
    void signalArrivals(ManualResetEvent& arrived) { arrived_ = &arrived; }
    // Allocates the frame buffer for samples of exactly frameBytes bytes.
    void prepareBuffer(int32_t frameBytes);

    bool hasNewFrame();
    // Waits up to a second for a frame, then copies it into destination with
    // its rows in reverse order. Refuses a destination smaller than a frame.
    bool takeFrame(uint8_t* destination, std::size_t capacity, int32_t width, int32_t height);
    // When the frame last taken was captured, in nanoseconds on the monotonic
    // clock: the source's own time when it gave one, else the moment the
    // sample reached this callback.
    int64_t takenCaptureTime();

private:
    void copyRowsReversed(uint8_t* destination, int32_t width, int32_t height) const;

    int32_t latestSampleLength_ = 0;
    int32_t frameBytes_ = 0;
    bool bufferReady_ = false;
    // Guards newFrame_, frameBuffer_ and both capture times.
    QMutex lock_;
    bool newFrame_ = false;
    std::vector<uint8_t> frameBuffer_;
    int64_t storedCaptureTime_ = 0;
    int64_t takenCaptureTime_ = 0;
    // Signalled from the moment a frame is stored until it has been taken.
    ManualResetEvent frameEvent_;
    // Set before the callback is registered, read by the streaming thread.
    ManualResetEvent* arrived_ = nullptr;
};
