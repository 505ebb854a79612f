#pragma once

#include "capture/platform/PlatformTypes.h"

namespace platform {

// One video sample as the streaming thread hands it over.
class MediaSample {
public:
    virtual ~MediaSample() = default;
    virtual Status getPointer(const uint8_t*& data) = 0;
    virtual int32_t actualDataLength() = 0;
};

// sampleTime is when the sample was captured, in seconds on the monotonic
// clock (capture/MonotonicClock.h); negative when the source does not tell.
class SampleGrabberCB {
public:
    virtual ~SampleGrabberCB() = default;
    virtual Status sampleCB(double sampleTime, MediaSample& sample) = 0;
    virtual Status bufferCB(double sampleTime, const uint8_t* buffer, int32_t length) = 0;
};

// The grabber delivers 24-bit samples of width x height x 3 bytes, tightly
// packed, rows bottom-up, blue first, once its media type asks for RGB24.
class SampleGrabber {
public:
    static constexpr int kSampleCallback = 0;

    virtual ~SampleGrabber() = default;
    virtual Status setOneShot(bool oneShot) = 0;
    virtual Status setBufferSamples(bool bufferSamples) = 0;
    // Registering null returns only once no call into the previous callback
    // is running, and none starts afterwards, so the caller may then destroy
    // the callback.
    virtual Status setCallback(SampleGrabberCB* callback, int method) = 0;
    virtual Status setMediaType(const MediaType& type) = 0;
};

} // namespace platform
