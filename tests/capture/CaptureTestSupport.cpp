#include "CaptureTestSupport.h"

#include <QDeadlineTimer>

namespace capture_test {

std::string consoleOf(const std::function<void()>& action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}

std::vector<uint8_t> patternSample(int width, int height) {
    std::vector<uint8_t> sample(static_cast<std::size_t>(width * height * 3));
    for (std::size_t i = 0; i < sample.size(); ++i) {
        sample[i] = static_cast<uint8_t>(1 + i * 7);
    }
    return sample;
}

FrameCollector::FrameCollector(VideoInputThr& thread) {
    QObject::connect(&thread, &VideoInputThr::capturedFrame, [this](I::Image* frame) {
        QMutexLocker locker(&lock_);
        frames_.emplace_back(frame);
        arrived_.wakeAll();
    });
}

bool FrameCollector::waitForFrames(std::size_t count, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    QMutexLocker locker(&lock_);
    while (frames_.size() < count) {
        if (!arrived_.wait(&lock_, deadline)) {
            return frames_.size() >= count;
        }
    }
    return true;
}

std::size_t FrameCollector::frameCount() {
    QMutexLocker locker(&lock_);
    return frames_.size();
}

std::unique_ptr<I::Image> FrameCollector::takeFrame(std::size_t index) {
    QMutexLocker locker(&lock_);
    return index < frames_.size() ? std::move(frames_[index]) : nullptr;
}

DeviceLayerTest::DeviceLayerTest()
    : ownedPlatform(std::make_unique<FakeCapturePlatform>())
    , fake(*ownedPlatform) {}

void DeviceLayerTest::TearDown() {
    consoleOf([&] { layer.reset(); });
}

void DeviceLayerTest::makeLayer() {
    consoleOf([&] { layer = std::make_unique<VideoInput>(std::move(ownedPlatform)); });
}

std::string DeviceLayerTest::setUp(int index, int width, int height) {
    return consoleOf([&] { layer->setupDevice(index, width, height); });
}

} // namespace capture_test
