#pragma once

#include "capture/platform/gst/FrameFeeder.h"

#include <atomic>
#include <thread>

// Paints the demo scene at the agreed size and frame rate and pushes each
// frame as it is painted.
class DemoCameraFeeder : public FrameFeeder {
public:
    ~DemoCameraFeeder() override;

    void start(GstAppSrc* source, const platform::MediaType& format) override;
    void stop() override;

private:
    void feed(GstAppSrc* source, int width, int height, int64_t frameNanoseconds);

    std::atomic<bool> stopRequested_{false};
    std::thread thread_;
};
