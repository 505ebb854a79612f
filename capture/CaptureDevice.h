#pragma once

#include "capture/SampleGrabberCallback.h"
#include "capture/platform/CapturePlatform.h"

#include <array>
#include <cstdint>
#include <memory>

// The state of one device slot: what set-up built and what teardown must
// release. A record is never reused: after a teardown or a failed set-up the
// slot gets a fresh one.
struct CaptureDevice {
    static constexpr int kNameLength = 255;

    // Sets the size in use and, the first time, prepares the callback's frame
    // buffer for samples of that size.
    void setFrameSize(int32_t frameWidth, int32_t frameHeight);

    int32_t frameBytes = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t requestedWidth = 0;
    int32_t requestedHeight = 0;
    // The subtype the stream was set to deliver frames of width by height;
    // what the running stream really carries is checked against it.
    platform::Guid frameSubtype;

    // Declared before the graph objects so that, should a record ever be
    // destroyed without its teardown, the graph goes before its callback.
    std::unique_ptr<SampleGrabberCallback> callback = std::make_unique<SampleGrabberCallback>();

    std::unique_ptr<platform::CaptureGraphBuilder> captureGraphBuilder;
    std::shared_ptr<platform::FilterGraph> graph;
    std::shared_ptr<platform::MediaControl> mediaControl;
    std::shared_ptr<platform::Filter> sourceFilter;
    std::shared_ptr<platform::Filter> grabberFilter;
    std::shared_ptr<platform::Filter> rendererFilter;
    std::unique_ptr<platform::StreamConfig> streamConfig;
    std::shared_ptr<platform::SampleGrabber> sampleGrabber;
    std::unique_ptr<platform::MediaType> mediaType;

    bool ready = false;
    bool setupStarted = false;
    int32_t deviceIndex = -1;
    // Time per frame in units of 100 ns; -1 keeps the device's own rate.
    int32_t frameInterval = -1;
    std::array<char, kNameLength> name{};
    std::array<char16_t, kNameLength> wideName{};
};
