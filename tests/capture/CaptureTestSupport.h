#pragma once

#include "capture/Image.h"
#include "capture/VideoInput.h"
#include "capture/VideoInputThr.h"
#include "capture/platform/fake/FakeCapturePlatform.h"

#include <QMutex>
#include <QWaitCondition>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace capture_test {

// Everything the callable prints on standard output.
std::string consoleOf(const std::function<void()>& action);

// A 24-bit sample as the platform delivers it (rows bottom-up), filled with
// a pattern that differs in every byte position.
std::vector<uint8_t> patternSample(int width, int height);

// Collects the frames a capture thread emits, on the capture thread itself.
class FrameCollector {
public:
    explicit FrameCollector(VideoInputThr& thread);
    // Waits at most timeoutMs for the count of frames to reach count.
    bool waitForFrames(std::size_t count, int timeoutMs = 5000);
    std::size_t frameCount();
    std::unique_ptr<I::Image> takeFrame(std::size_t index);

private:
    QMutex lock_;
    QWaitCondition arrived_;
    std::vector<std::unique_ptr<I::Image>> frames_;
};

// A device layer over a fake platform; the layer's console output during
// construction and destruction is swallowed.
class DeviceLayerTest : public testing::Test {
protected:
    DeviceLayerTest();
    void TearDown() override;

    // Builds the layer over the fake as scripted so far.
    void makeLayer();
    // Sets device 0 up and returns what set-up printed.
    std::string setUp(int index = 0, int width = 320, int height = 240);

    std::unique_ptr<FakeCapturePlatform> ownedPlatform;
    FakeCapturePlatform& fake;
    std::unique_ptr<VideoInput> layer;
};

} // namespace capture_test
