#pragma once

#include "capture/DeviceEnumerator.h"
#include "capture/FormatNegotiator.h"
#include "capture/ManualResetEvent.h"
#include "capture/SubtypeTable.h"
#include "capture/platform/CapturePlatform.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct CaptureDevice;

// The layer over the platform's capture framework: up to twenty devices by
// index, their names, and the set-up of one device so that it streams 24-bit
// frames of a requested size into a callback, from which the capture thread
// takes them. Progress and failures are printed, never thrown.
class VideoInput {
public:
    explicit VideoInput(std::unique_ptr<CapturePlatform> platform);
    ~VideoInput();

    VideoInput(const VideoInput&) = delete;
    VideoInput& operator=(const VideoInput&) = delete;

    int enumerateDevices();
    // Null for an index outside the slots.
    const char* deviceName(int index) const;
    // The name the device in the slot was set up under; the listed name when
    // it is not set up.
    const char* setUpName(int index) const;
    int deviceCount();

    void setFrameRate(int index, int framesPerSecond);
    bool setupDevice(int index, int width, int height);
    bool isDeviceReady(int index) const;
    int frameWidth(int index) const;
    int frameHeight(int index) const;
    int frameSize(int index) const;
    // The frame rate agreed with the device, or 0 when it keeps its own.
    int frameRate(int index) const;

    // Every device set up from now on sets arrived as each of its frames
    // arrives, on the platform's streaming thread; arrived must outlive
    // this layer.
    void signalArrivals(ManualResetEvent& arrived) { arrived_ = &arrived; }
    bool hasNewFrame(int index);
    // Copies the waiting frame, top row first, into destination, which must
    // hold frameSize(index) bytes; waits up to a second for one.
    bool getPixels(int index, uint8_t* destination, std::size_t capacity);
    // When the frame getPixels last copied was captured, in nanoseconds on
    // the monotonic clock.
    int64_t capturedAt(int index) const;
    void disconnectDevice(int index);
    // Empty while the device's stream runs or when it is not set up; once
    // the stream has ended or failed, why.
    std::string streamFailure(int index);

    const char* subtypeName(const platform::Guid& subtype) const;

    void addDemoCamera();
    void addVideoFile(const std::string& path);
    // The controls of the device at index, whether it is set up or not; null
    // when it has none.
    std::unique_ptr<platform::CameraControls> openControls(int index);
    // See CapturePlatform::watchDevices.
    void watchDevices(std::function<void()> devicesChanged);

private:
    static bool isSlot(int index);
    platform::Status buildGraph(int index);
    platform::Status failSetup(int index, platform::Status status, const char* line);
    platform::Status createGraph(CaptureDevice& device);
    platform::Status openSource(CaptureDevice& device);
    platform::Status configureStream(CaptureDevice& device);
    platform::Status addSampleGrabber(CaptureDevice& device);
    platform::Status configureGrabber(CaptureDevice& device);
    platform::Status addRendererAndConnect(CaptureDevice& device);
    platform::Status startGraph(CaptureDevice& device);
    platform::Status checkStreamedFormat(CaptureDevice& device);

    std::unique_ptr<CapturePlatform> platform_;
    DeviceEnumerator enumerator_;
    int deviceCount_ = 0;
    platform::PinCategory captureCategory_ = platform::PinCategory::Capture;
    std::array<std::unique_ptr<CaptureDevice>, kDeviceSlots> devices_;
    SubtypeTable subtypes_;
    FormatNegotiator negotiator_;
    DeviceNameTable names_{};
    ManualResetEvent* arrived_ = nullptr;
};
