#include "capture/platform/gst/DemoCameraFeeder.h"

#include "capture/platform/gst/DemoPersonPainter.h"

#include <QImage>
#include <chrono>

namespace {
constexpr int64_t kHundredNanoseconds = 100;
constexpr int64_t kNanosecondsAtThirtyFrames = 33333333;
} // namespace

DemoCameraFeeder::~DemoCameraFeeder() {
    stop();
}

void DemoCameraFeeder::start(GstAppSrc* source, const platform::MediaType& format) {
    stop();
    stopRequested_ = false;
    const int64_t frameNanoseconds = format.video.averageTimePerFrame > 0
                                         ? format.video.averageTimePerFrame * kHundredNanoseconds
                                         : kNanosecondsAtThirtyFrames;
    thread_ = std::thread(&DemoCameraFeeder::feed, this, source, format.video.width,
                          format.video.height, frameNanoseconds);
}

void DemoCameraFeeder::stop() {
    stopRequested_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
}

// Frames are timed against a steady clock from the start, so painting time
// does not slow the frame rate down. They go without a timestamp: each is
// painted just before it is pushed, so its arrival at the grabber, which
// the capture layer then goes by, is its capture time.
void DemoCameraFeeder::feed(GstAppSrc* source, int width, int height, int64_t frameNanoseconds) {
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    const std::chrono::nanoseconds framePeriod(frameNanoseconds);
    QImage frame(width, height, QImage::Format_RGB32);
    for (int64_t index = 0; !stopRequested_; ++index) {
        const double seconds = std::chrono::duration<double>(framePeriod * index).count();
        DemoPersonPainter::paint(frame, seconds);
        GstBuffer* buffer =
            gst_buffer_new_memdup(frame.constBits(), static_cast<gsize>(frame.sizeInBytes()));
        GST_BUFFER_DURATION(buffer) = GstClockTime(frameNanoseconds);
        gst_app_src_push_buffer(source, buffer);
        std::this_thread::sleep_until(started + framePeriod * (index + 1));
    }
}
