#pragma once

#include "capture/platform/gst/FrameFeeder.h"
#include "capture/platform/gst/GstHandles.h"

#include <atomic>
#include <string>
#include <thread>

// Replays a video file in a loop at its own frame rate, scaled to the agreed
// size, through a playback pipeline of its own whose frames it pushes on.
class VideoFileFeeder : public FrameFeeder {
public:
    explicit VideoFileFeeder(std::string path);
    ~VideoFileFeeder() override;

    void start(GstAppSrc* source, const platform::MediaType& format) override;
    void stop() override;

private:
    bool buildPlayback(int width, int height);
    void feed(GstAppSrc* source);
    bool passOneFrame(GstAppSrc* source);
    bool playbackFailed(GstAppSrc* source);
    void failCapture(GstAppSrc* source, GError& reason) const;

    std::string path_;
    GstObjectPtr<GstElement> playback_;
    GstObjectPtr<GstElement> converter_;
    GstObjectPtr<GstElement> sink_;
    std::atomic<bool> stopRequested_{false};
    std::thread thread_;
};
