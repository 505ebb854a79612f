#include "CaptureTestSupport.h"

#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>

using namespace capture_test;
using namespace platform;

namespace {

// What a log reader looks for after a full teardown: every filter taken out
// of the graph, then the closing line.
void expectFullTeardown(const std::string& console) {
    for (const char* filter : {"Cam", "Sample Grabber", "NullRenderer"}) {
        EXPECT_NE(console.find(std::string("SETUP: filter removed ") + filter + "  \n"),
                  std::string::npos)
            << console;
    }
    EXPECT_NE(console.find("SETUP: Device 0 disconnected and freed\n\n"), std::string::npos);
}

class FrameDeliveryTest : public DeviceLayerTest {
protected:
    void readyCamera(int width, int height) {
        fake.addDevice("Cam").acceptAnySize(subtype::kRgb24);
        makeLayer();
        setUp(0, width, height);
        ASSERT_TRUE(layer->isDeviceReady(0));
    }
    std::vector<uint8_t> take(int width, int height) {
        std::vector<uint8_t> frame(static_cast<std::size_t>(width * height * 3));
        EXPECT_TRUE(layer->getPixels(0, frame.data(), frame.size()));
        return frame;
    }
};

// A waiting frame is never overwritten: samples arriving meanwhile are lost,
// and the frame keeps its own capture time.
TEST_F(FrameDeliveryTest,
       WaitingSampleComesOutTopRowFirstLaterOnesAreDroppedAndAnEmptyReadGivesUp) {
    readyCamera(2, 2);
    const std::vector<uint8_t> bottomThenTop{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    constexpr int64_t kFiveSeconds = 5'000'000'000;
    ASSERT_TRUE(fake.pushSample(bottomThenTop, kFiveSeconds));
    EXPECT_TRUE(layer->hasNewFrame(0));
    fake.pushSample(std::vector<uint8_t>(12, 99), 2 * kFiveSeconds);
    EXPECT_EQ(take(2, 2), (std::vector<uint8_t>{7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(layer->capturedAt(0), kFiveSeconds);
    EXPECT_FALSE(layer->hasNewFrame(0));

    fake.pushSample(std::vector<uint8_t>(12, 3));
    EXPECT_EQ(take(2, 2), std::vector<uint8_t>(12, 3));

    // With nothing waiting, a read gives up after about a second.
    std::vector<uint8_t> frame(12);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(layer->getPixels(0, frame.data(), frame.size()));
    EXPECT_GE(timer.elapsed(), 950);
    EXPECT_LT(timer.elapsed(), 3000);
}

// Samples of another length or without data are refused, not copied; bad
// arguments touch neither the caller's buffer nor the waiting frame.
TEST_F(FrameDeliveryTest, BadSamplesAndBadArgumentsAreRefusedAndTouchNothing) {
    readyCamera(2, 2);
    EXPECT_EQ(consoleOf([&] {
                  fake.pushSample(std::vector<uint8_t>(2 * 2 * 3 - 1, 5));
                  fake.pushSample(std::vector<uint8_t>(2 * 2 * 3 + 64, 5));
                  fake.fail(fake::Operation::GetSamplePointer);
                  fake.pushSample(patternSample(2, 2));
              }),
              "ERROR: SampleCB() - buffer sizes do not match\n"
              "ERROR: SampleCB() - buffer sizes do not match\n");
    EXPECT_FALSE(layer->hasNewFrame(0));

    fake.clearFailures();
    fake.pushSample(patternSample(2, 2));
    std::vector<uint8_t> tooSmall(11, 0xee), frame(12);
    EXPECT_EQ(consoleOf([&] {
                  EXPECT_FALSE(layer->getPixels(0, tooSmall.data(), tooSmall.size()));
                  for (int index : {-1, 1, 25}) {
                      EXPECT_FALSE(layer->hasNewFrame(index));
                      EXPECT_FALSE(layer->getPixels(index, frame.data(), frame.size()));
                      layer->disconnectDevice(index);
                  }
              }),
              "");
    EXPECT_EQ(tooSmall, std::vector<uint8_t>(11, 0xee));
    EXPECT_TRUE(layer->hasNewFrame(0));
    EXPECT_TRUE(layer->isDeviceReady(0));
}

// A disconnected slot holds a fresh record: disconnecting again is silent,
// and the device can be set up anew and torn down with the layer.
TEST_F(FrameDeliveryTest, DisconnectAndTheLayersDestructionFreeEverything) {
    readyCamera(4, 4);
    expectFullTeardown(consoleOf([&] { layer->disconnectDevice(0); }));
    EXPECT_FALSE(layer->isDeviceReady(0));
    EXPECT_FALSE(fake.isStreaming());
    EXPECT_EQ(consoleOf([&] { layer->disconnectDevice(0); }), "");
    setUp(0, 4, 4);
    EXPECT_TRUE(layer->isDeviceReady(0));
    expectFullTeardown(consoleOf([&] { layer.reset(); }));
}

// Teardown goes on past a failing pause and stop; the removal of filters
// stops at the first that cannot be removed, and the graphs are still freed.
TEST_F(FrameDeliveryTest, FailingPauseStopAndRemovalAreReported) {
    readyCamera(4, 4);
    fake.fail(fake::Operation::Pause);
    fake.fail(fake::Operation::Stop);
    fake.fail(fake::Operation::RemoveFilter);
    const std::string console = consoleOf([&] { layer->disconnectDevice(0); });
    EXPECT_NE(console.find("SETUP: freeing Grabber Callback\n"
                           "ERROR - Could not pause pControl\n"
                           "ERROR - Could not stop pControl\n"
                           "SETUP: freeing Grabber  \n"),
              std::string::npos)
        << console;
    EXPECT_NE(console.find("SETUP: removing filter Cam...\n"
                           "SETUP: pGraph->RemoveFilter() failed. \n"
                           "SETUP: freeing Capture Graph \n"
                           "SETUP: freeing Main Graph \n"
                           "SETUP: Device 0 disconnected and freed\n\n"),
              std::string::npos)
        << console;
}

// Samples keep arriving on another thread while the device is torn down and
// set up again; no sample may reach a callback that is being destroyed.
TEST_F(FrameDeliveryTest, TeardownNeverRacesASampleInFlight) {
    readyCamera(64, 48);
    std::atomic<bool> streaming{true};
    const auto sample = patternSample(64, 48);
    std::unique_ptr<QThread> camera(QThread::create([&] {
        while (streaming) {
            fake.pushSample(sample);
        }
    }));
    camera->start();
    consoleOf([&] {
        for (int round = 0; round < 50; ++round) {
            layer->disconnectDevice(0);
            layer->setupDevice(0, 64, 48);
            ASSERT_TRUE(layer->isDeviceReady(0));
        }
    });
    streaming = false;
    EXPECT_TRUE(camera->wait(5000));
    EXPECT_TRUE(layer->isDeviceReady(0));
}

} // namespace
