#include "CaptureTestSupport.h"

#include "capture/MonotonicClock.h"
#include "capture/VideoInputThr.h"
#include "capture/platform/fake/FakeCapturePlatform.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <gtest/gtest.h>
#include <optional>

using namespace capture_test;

namespace {

constexpr int kJoinTimeoutMs = 5000;
const char* const kDeviceFreed = "SETUP: Device 0 disconnected and freed\n";

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

    std::string start(int device, int width, int height) {
        return consoleOf([&] { thread->startDevice(device, width, height, 30); });
    }
    // Stops the run, waits for the thread to end and returns what it printed.
    std::string stop() {
        return consoleOf([&] {
            thread->stopDevice();
            EXPECT_TRUE(thread->wait(kJoinTimeoutMs));
        });
    }
    // Pushes one sample and returns the frame the thread emitted for it.
    std::unique_ptr<I::Image> frameFor(const std::vector<uint8_t>& sample,
                                       int64_t captureTime = -1) {
        const std::size_t index = collector->frameCount();
        EXPECT_TRUE(fake->pushSample(sample, captureTime));
        EXPECT_TRUE(collector->waitForFrames(index + 1));
        return collector->takeFrame(index);
    }

    FakeCapturePlatform* fake = nullptr;
    std::unique_ptr<VideoInputThr> thread;
    std::unique_ptr<FrameCollector> collector;
};

// Every frame owns a copy of its own sample: a later sample changes nothing
// in a frame already handed over.
TEST_F(VideoInputThrTest, EmitsTopFirstRgb32FramesWithOwnPixels) {
    start(1, 2, 2);
    // Bottom row first, as the platform stores it.
    const auto frame = frameFor({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    ASSERT_TRUE(frame);
    const auto next = frameFor(std::vector<uint8_t>(12, 99));
    ASSERT_TRUE(next);
    EXPECT_EQ(frame->format, I::Image::Rgb32);
    EXPECT_EQ(frame->colorTable, nullptr);
    ASSERT_EQ(frame->width * frame->height, 4);
    EXPECT_EQ(std::vector<uchar>(frame->data, frame->data + 16),
              (std::vector<uchar>{7, 8, 9, 0, 10, 11, 12, 0, 1, 2, 3, 0, 4, 5, 6, 0}));
    EXPECT_EQ(next->data[0], 99);
}

// A frame carries the capture time its source gave it or, from a source that
// gives none, the moment it reached the capture layer.
TEST_F(VideoInputThrTest, FramesCarryTheirSourcesCaptureTimeOrElseTheirArrival) {
    start(0, 4, 4);
    const int64_t fortyMillisecondsAgo = monotonic_clock::nowNanoseconds() - 40'000'000;
    const auto stamped = frameFor(patternSample(4, 4), fortyMillisecondsAgo);
    ASSERT_TRUE(stamped);
    EXPECT_NEAR(double(stamped->captureTime), double(fortyMillisecondsAgo), 1000.0);

    const int64_t beforePush = monotonic_clock::nowNanoseconds();
    const auto unstamped = frameFor(patternSample(4, 4));
    ASSERT_TRUE(unstamped);
    EXPECT_GE(unstamped->captureTime, beforePush);
    EXPECT_LE(unstamped->captureTime, monotonic_clock::nowNanoseconds());
}

// A frame queued for a receiver in another thread goes to the first receiver
// alone; one whose receiver goes away first is freed with its event, which
// the sanitizer build's leak check verifies.
TEST_F(VideoInputThrTest, QueuedFramesGoToTheFirstReceiverOrAreFreedUndelivered) {
    QObject::disconnect(thread.get(), &VideoInputThr::capturedFrame, nullptr, nullptr);
    auto keeper = std::make_unique<QObject>(), doomed = std::make_unique<QObject>();
    std::vector<std::unique_ptr<I::Image>> kept, reachedDoomed;
    QObject::connect(thread.get(), &VideoInputThr::capturedFrame, keeper.get(),
                     [&](I::Image* frame) { kept.emplace_back(frame); });
    QObject::connect(thread.get(), &VideoInputThr::capturedFrame, doomed.get(),
                     [&](I::Image* frame) { reachedDoomed.emplace_back(frame); });
    // Connected last, so a frame counts as emitted once it is queued for all.
    std::atomic<int> emitted{0};
    QObject::connect(thread.get(), &VideoInputThr::capturedFrame,
                     [&](const FrameCarrier&) { ++emitted; });
    const auto emitFrame = [&](int count) {
        ASSERT_TRUE(fake->pushSample(patternSample(4, 4)));
        QDeadlineTimer deadline(kJoinTimeoutMs);
        while (emitted < count && !deadline.hasExpired())
            QThread::msleep(1);
        ASSERT_EQ(emitted.load(), count);
    };

    start(0, 4, 4);
    emitFrame(1);
    QCoreApplication::processEvents();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_TRUE(kept[0]);
    ASSERT_EQ(reachedDoomed.size(), 1u);
    EXPECT_FALSE(reachedDoomed[0]);

    // The third frame takes the second's place in the doomed receiver's
    // event, or, if the thread gets to it only after the receiver is gone,
    // is emitted to none; either way it is freed.
    keeper.reset();
    emitFrame(2);
    ASSERT_TRUE(fake->pushSample(patternSample(4, 4)));
    doomed.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(reachedDoomed.size(), 1u);
    stop();
}

std::unique_ptr<I::Image> frameCapturedAt(int64_t captureTime) {
    const std::vector<uchar> pixels(4 * 4 * 4, 0);
    int32_t width = 4, height = 4, format = I::Image::Rgb32;
    auto frame = std::make_unique<I::Image>(pixels.data(), width, height, format);
    frame->captureTime = captureTime;
    return frame;
}

// A frame waiting untaken in a queued copy of its carrier gives way to a
// newer one, which the receiver then takes, and is freed; a frame already
// taken, or one no receiver has queued, stays, and the newer one with its
// sender.
TEST(FrameCarrier, ANewerFrameTakesTheUntakenOnesPlace) {
    std::optional<FrameCarrier> sent;
    sent.emplace(frameCapturedAt(1));
    std::unique_ptr<I::Image> newer = frameCapturedAt(2);
    EXPECT_FALSE(sent->replaceWaiting(newer));
    ASSERT_TRUE(newer);

    const FrameCarrier queued(*sent);
    EXPECT_TRUE(sent->replaceWaiting(newer));
    EXPECT_FALSE(newer);
    const std::unique_ptr<I::Image> taken(queued);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->captureTime, 2);

    std::unique_ptr<I::Image> third = frameCapturedAt(3);
    EXPECT_FALSE(sent->replaceWaiting(third));
    EXPECT_TRUE(third);
}

// While the receiver's thread is busy, frames do not pile up for it: the
// first is emitted and every later one takes the waiting one's place, so it
// gets one frame when it is free again.
TEST_F(VideoInputThrTest, AReceiverThatFallsBehindIsHandedOneFrameNotAQueue) {
    QObject::disconnect(thread.get(), &VideoInputThr::capturedFrame, nullptr, nullptr);
    QObject receiver;
    std::vector<std::unique_ptr<I::Image>> received;
    QObject::connect(thread.get(), &VideoInputThr::capturedFrame, &receiver,
                     [&](I::Image* frame) { received.emplace_back(frame); });
    std::atomic<int> emitted{0};
    QObject::connect(thread.get(), &VideoInputThr::capturedFrame,
                     [&](const FrameCarrier&) { ++emitted; });

    start(0, 4, 4);
    ASSERT_TRUE(fake->pushSample(patternSample(4, 4)));
    QDeadlineTimer deadline(kJoinTimeoutMs);
    while (emitted == 0 && !deadline.hasExpired())
        QThread::msleep(1);
    for (int frame = 0; frame < 4; ++frame) {
        QThread::msleep(5);
        ASSERT_TRUE(fake->pushSample(patternSample(4, 4)));
    }
    stop();
    EXPECT_EQ(emitted.load(), 1);
    QCoreApplication::processEvents();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_TRUE(received[0]);
}

// A second start while running changes nothing; after a stop, one does.
// Both a stop and the destruction of a running thread end the run and tear
// the device down.
TEST_F(VideoInputThrTest, SecondStartIsIgnoredAndStopOrDestructionTearsTheDeviceDown) {
    start(0, 4, 4);
    EXPECT_EQ(consoleOf([&] { thread->startDevice(1, 8, 8, 15); }), "");
    const auto first = frameFor(patternSample(4, 4));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->width, 4);

    EXPECT_NE(stop().find(kDeviceFreed), std::string::npos);
    EXPECT_FALSE(fake->isStreaming());
    EXPECT_FALSE(fake->pushSample(patternSample(4, 4)));

    start(0, 8, 6);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fake->isStreaming(); }));
    const auto frame = frameFor(patternSample(8, 6));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width, 8);
    EXPECT_EQ(frame->height, 6);
    EXPECT_NE(consoleOf([&] { thread.reset(); }).find(kDeviceFreed), std::string::npos);
}

// Each start is announced with the size and rate actually set up, or with no
// size when the device cannot be opened. A source that ends stops the run by
// itself, says why, and leaves the thread ready for the next start.
TEST_F(VideoInputThrTest, StartsAreAnnouncedAndAnEndingSourceEndsTheRunWithItsReason) {
    QSignalSpy started(thread.get(), &VideoInputThr::captureStarted);
    QSignalSpy ended(thread.get(), &VideoInputThr::sourceEnded);
    start(0, 8, 6);
    ASSERT_TRUE(frameFor(patternSample(8, 6)));
    const std::string console = consoleOf([&] {
        fake->failStream("the device stopped answering");
        EXPECT_TRUE(thread->wait(kJoinTimeoutMs));
    });
    EXPECT_NE(console.find(kDeviceFreed), std::string::npos);
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended[0][0].toString(), "the device stopped answering");

    start(1, 4, 4);
    stop();
    start(7, 4, 4);
    ASSERT_EQ(started.size(), 3);
    EXPECT_EQ(started[0], (QVariantList{"Front camera", QSize(8, 6), 30}));
    EXPECT_EQ(started[1], (QVariantList{QString::fromUtf8("Caméra arrière"), QSize(4, 4), 30}));
    EXPECT_EQ(started[2], (QVariantList{"", QSize(), 0}));
    EXPECT_EQ(ended.size(), 1);
}

// The list shifts when a camera before the one in use goes away; the run
// keeps to the device it set up and tears that one down at the end.
TEST_F(VideoInputThrTest, WatchedPlatformAnnouncesCamerasComingAndGoingWithoutDisturbingTheRun) {
    QSignalSpy changed(thread.get(), &VideoInputThr::devicesChanged);
    thread->watchDevices(true);
    fake->addDevice("USB camera").acceptAnySize(platform::subtype::kRgb24);
    start(1, 4, 4);
    fake->unplugDevice(0);
    EXPECT_EQ(changed.size(), 2);
    // Names come from the platform as Latin-1.
    EXPECT_EQ(thread->deviceList(),
              (QMap<int, QString>{{0, QString::fromUtf8("Caméra arrière")}, {1, "USB camera"}}));
    ASSERT_TRUE(frameFor(patternSample(4, 4)));
    EXPECT_NE(stop().find("SETUP: Device 1 disconnected and freed\n"), std::string::npos);

    thread->watchDevices(false);
    fake->unplugDevice(2);
    EXPECT_EQ(changed.size(), 2);
}

// Without a camera the window still starts and stops capture; the thread
// then idles quietly. The layer's banner comes with its first use, the list
// the window reads before any start.
TEST_F(VideoInputThrTest, WithoutACameraIdlesUntilStoppedAndPrintsNothing) {
    EXPECT_NE(consoleOf([&] { thread->deviceList(); }).find("CAPTURE LAYER"), std::string::npos);
    EXPECT_EQ(start(-1, 320, 240), "");
    QThread::msleep(50);
    EXPECT_TRUE(thread->isRunning());
    EXPECT_EQ(stop(), "");
    EXPECT_EQ(collector->frameCount(), 0u);
}

} // namespace
