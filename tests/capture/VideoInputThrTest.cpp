#include "CaptureTestSupport.h"

#include "capture/VideoInputThr.h"
#include "capture/platform/fake/FakeCapturePlatform.h"

#include <gtest/gtest.h>

using namespace capture_test;

namespace {

constexpr int kJoinTimeoutMs = 5000;

class VideoInputThrTest : public testing::Test {
protected:
    void SetUp() override {
        auto platform = FakeCapturePlatform::withDevices({"Front camera", "Cam\xe9ra arri\xe8re"});
        fake = platform.get();
        consoleOf([&] { thread = std::make_unique<VideoInputThr>(std::move(platform)); });
        collector = std::make_unique<FrameCollector>(*thread);
    }
    void TearDown() override {
        consoleOf([&] { thread.reset(); });
    }

    void start(int device, int width, int height) {
        consoleOf([&] { thread->startDevice(device, width, height, 30); });
    }
    void stopAndJoin() {
        consoleOf([&] {
            thread->stopDevice();
            EXPECT_TRUE(thread->wait(kJoinTimeoutMs));
        });
    }

    FakeCapturePlatform* fake = nullptr;
    std::unique_ptr<VideoInputThr> thread;
    std::unique_ptr<FrameCollector> collector;
};

TEST_F(VideoInputThrTest, DeviceListNamesEveryCameraAsLatin1) {
    const QMap<int, QString> devices = thread->deviceList();
    ASSERT_EQ(devices.size(), 2);
    EXPECT_EQ(devices.value(0), QString("Front camera"));
    EXPECT_EQ(devices.value(1), QString::fromUtf8("Caméra arrière"));
}

TEST_F(VideoInputThrTest, EmitsTopFirstRgb32FramesWithZeroFourthByte) {
    start(0, 2, 2);
    ASSERT_TRUE(fake->isStreaming());
    // Bottom row first, as the platform stores it.
    const std::vector<uint8_t> sample{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    ASSERT_TRUE(fake->pushSample(sample));
    ASSERT_TRUE(collector->waitForFrames(1));

    const auto frame = collector->takeFrame(0);
    EXPECT_EQ(frame->format, I::Image::Rgb32);
    EXPECT_EQ(frame->colorTable, nullptr);
    EXPECT_EQ(frame->width, 2);
    EXPECT_EQ(frame->height, 2);
    const std::vector<uchar> expected{7, 8, 9, 0, 10, 11, 12, 0, 1, 2, 3, 0, 4, 5, 6, 0};
    EXPECT_EQ(std::vector<uchar>(frame->data, frame->data + 16), expected);
}

TEST_F(VideoInputThrTest, EveryFrameHasWidthTimesHeightTimesFourBytes) {
    start(1, 160, 120);
    for (uint8_t seed = 1; seed <= 3; ++seed) {
        ASSERT_TRUE(fake->pushSample(patternSample(160, 120, seed)));
        ASSERT_TRUE(collector->waitForFrames(seed));
    }
    for (std::size_t index = 0; index < 3; ++index) {
        const auto frame = collector->takeFrame(index);
        ASSERT_EQ(frame->width * frame->height, 160 * 120);
        const auto source = patternSample(160, 120, static_cast<uint8_t>(index + 1));
        // The last pixel of the top row comes from the last row of the sample.
        const std::size_t lastTopPixel = 159 * 4;
        const std::size_t sourceOfIt = (119 * 160 + 159) * 3;
        EXPECT_EQ(frame->data[lastTopPixel], source[sourceOfIt]);
        for (int pixel = 0; pixel < 160 * 120; ++pixel) {
            ASSERT_EQ(frame->data[pixel * 4 + 3], 0);
        }
    }
}

TEST_F(VideoInputThrTest, SecondStartWhileRunningChangesNothing) {
    start(0, 4, 4);
    const std::string console = consoleOf([&] { thread->startDevice(1, 8, 8, 15); });
    EXPECT_EQ(console, "");

    ASSERT_TRUE(fake->pushSample(patternSample(4, 4)));
    ASSERT_TRUE(collector->waitForFrames(1));
    const auto frame = collector->takeFrame(0);
    EXPECT_EQ(frame->width, 4);
    EXPECT_EQ(frame->height, 4);
}

TEST_F(VideoInputThrTest, StopThenStartRestartsCapture) {
    start(0, 4, 4);
    consoleOf([&] {
        thread->stopDevice();
        thread->startDevice(0, 8, 6, 30);
    });
    EXPECT_TRUE(thread->isRunning());
    ASSERT_TRUE(eventually([&] { return fake->isStreaming(); }));

    ASSERT_TRUE(fake->pushSample(patternSample(8, 6)));
    ASSERT_TRUE(collector->waitForFrames(1));
    const auto frame = collector->takeFrame(0);
    EXPECT_EQ(frame->width, 8);
    EXPECT_EQ(frame->height, 6);
}

TEST_F(VideoInputThrTest, StopEndsTheRunAndTearsTheDeviceDown) {
    start(0, 4, 4);
    const std::string console = consoleOf([&] {
        thread->stopDevice();
        EXPECT_TRUE(thread->wait(kJoinTimeoutMs));
    });
    EXPECT_NE(console.find("SETUP: Device 0 disconnected and freed\n"), std::string::npos);
    EXPECT_FALSE(fake->isStreaming());
    EXPECT_FALSE(fake->pushSample(patternSample(4, 4)));
}

TEST_F(VideoInputThrTest, DestructionWhileRunningJoinsTheThread) {
    start(0, 4, 4);
    ASSERT_TRUE(thread->isRunning());
    // The fake goes with the thread's device layer; the console shows the
    // device torn down before the thread was joined.
    const std::string console = consoleOf([&] { thread.reset(); });
    EXPECT_NE(console.find("SETUP: Device 0 disconnected and freed\n"), std::string::npos);
}

TEST(VideoInputThrNoCameraTest, IdlesUntilStoppedAndPrintsNothing) {
    auto platform = std::make_unique<FakeCapturePlatform>();
    std::unique_ptr<VideoInputThr> thread;
    consoleOf([&] { thread = std::make_unique<VideoInputThr>(std::move(platform)); });
    FrameCollector collector(*thread);

    EXPECT_TRUE(thread->deviceList().isEmpty());
    const std::string console = consoleOf([&] {
        thread->startDevice(-1, 320, 240, 30);
        QThread::msleep(50);
        EXPECT_TRUE(thread->isRunning());
        thread->stopDevice();
        EXPECT_TRUE(thread->wait(kJoinTimeoutMs));
    });
    EXPECT_EQ(console, "");
    EXPECT_EQ(collector.frameCount(), 0u);
    consoleOf([&] { thread.reset(); });
}

} // namespace
