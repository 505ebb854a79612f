#include "CaptureTestSupport.h"
#include "tests/support/VideoClipRecorder.h"

#include "capture/VideoInputThr.h"
#include "capture/platform/gst/GstCapturePlatform.h"
#include "capture/platform/gst/GstSourceFilter.h"
#include "capture/platform/gst/NameOnlyPropertyStore.h"

#include <QTemporaryDir>
#include <gst/gst.h>
#include <gtest/gtest.h>

using namespace capture_test;

namespace {

constexpr int kFrameTimeoutMs = 10000;

// A platform whose only device is GStreamer's test source, listing the given
// formats the way a camera lists them, and stopping after a number of frames
// the way an unplugged camera stops (-1: never).
class TestSourcePlatform : public GstCapturePlatform {
public:
    static constexpr int kFramesBeforeEnd = 5;

    explicit TestSourcePlatform(
        int framesBeforeEnd = kFramesBeforeEnd,
        std::string listedCaps = "video/x-raw,format=BGR,width=[1,640],height=[1,480]")
        : framesBeforeEnd_(framesBeforeEnd)
        , listedCaps_(std::move(listedCaps)) {}

    platform::Status
    videoInputDevices(std::vector<std::unique_ptr<platform::DeviceMoniker>>& devices) override {
        devices.push_back(std::make_unique<TestSourceMoniker>(framesBeforeEnd_, listedCaps_));
        return platform::kOk;
    }

private:
    class TestSourceMoniker : public platform::DeviceMoniker {
    public:
        TestSourceMoniker(int framesBeforeEnd, std::string listedCaps)
            : framesBeforeEnd_(framesBeforeEnd)
            , listedCaps_(std::move(listedCaps)) {}

        platform::Status
        openPropertyStore(std::unique_ptr<platform::PropertyStore>& store) override {
            store = std::make_unique<NameOnlyPropertyStore>("Test source");
            return platform::kOk;
        }
        platform::Status bindSourceFilter(std::shared_ptr<platform::Filter>& source) override {
            auto element = adoptFloating(gst_element_factory_make("videotestsrc", nullptr));
            g_object_set(element.get(), "num-buffers", framesBeforeEnd_, "is-live", TRUE, nullptr);
            source = std::make_shared<GstSourceFilter>(
                std::move(element), GstCapsPtr(gst_caps_from_string(listedCaps_.c_str())));
            return platform::kOk;
        }

    private:
        int framesBeforeEnd_;
        std::string listedCaps_;
    };

    int framesBeforeEnd_;
    std::string listedCaps_;
};

class GstCaptureTest : public testing::Test {
protected:
    // Clips are recorded before any capture thread has started GStreamer.
    static void SetUpTestSuite() { gst_init(nullptr, nullptr); }

    void
    makeThread(const std::function<void(VideoInputThr&)>& configure,
               std::unique_ptr<CapturePlatform> platform = std::make_unique<GstCapturePlatform>()) {
        // The thread a case made before is ended first, quietly.
        consoleOf([&] {
            thread.reset();
            thread = std::make_unique<VideoInputThr>(std::move(platform));
        });
        configure(*thread);
        collector = std::make_unique<FrameCollector>(*thread);
    }
    void TearDown() override {
        consoleOf([&] { thread.reset(); });
    }
    // The program's own sources come after whatever cameras the machine has.
    int lastDevice() { return thread->deviceList().lastKey(); }

    std::string startAndCollect(int device, int width, int height, std::size_t frames) {
        std::string console = consoleOf([&] { thread->startDevice(device, width, height, 30); });
        EXPECT_TRUE(collector->waitForFrames(frames, kFrameTimeoutMs));
        return console;
    }
    std::string stop() {
        return consoleOf([&] {
            thread->stopDevice();
            EXPECT_TRUE(thread->wait(kFrameTimeoutMs));
        });
    }

    std::unique_ptr<VideoInputThr> thread;
    std::unique_ptr<FrameCollector> collector;
};

TEST_F(GstCaptureTest, DemoCameraDeliversEachRequestedSizeAcrossAStopAndAStart) {
    makeThread([](VideoInputThr& thread) { thread.addDemoCamera(); });
    EXPECT_EQ(thread->deviceList().last(), QString("Demo camera"));
    const int demo = lastDevice();
    const std::string setup = startAndCollect(demo, 320, 240, 3);
    EXPECT_NE(setup.find("SETUP: Demo camera\n"), std::string::npos) << setup;
    EXPECT_NE(setup.find("SETUP: Device is setup and ready to capture.\n"), std::string::npos);
    const auto frame = collector->takeFrame(2);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width, 320);
    EXPECT_EQ(frame->height, 240);
    EXPECT_EQ(frame->format, I::Image::Rgb32);
    // The wall behind the person is light at the top of the picture: the
    // rows arrive top first.
    EXPECT_GT(frame->data[0], 150);
    EXPECT_EQ(frame->data[3], 0);

    const std::string teardown = stop();
    for (const char* element : {"Demo camera", "Capture Format", "Color Space Converter",
                                "Sample Grabber", "NullRenderer"}) {
        EXPECT_NE(teardown.find(std::string("SETUP: removing filter ") + element + "...\n" +
                                "SETUP: filter removed " + element + "  \n"),
                  std::string::npos)
            << element << "\n"
            << teardown;
    }
    EXPECT_NE(teardown.find("SETUP: Device " + std::to_string(demo) + " disconnected and freed"),
              std::string::npos);

    // GStreamer pads 24-bit rows to a multiple of four bytes; 162 pixels make
    // 486 bytes, so every row of such a frame carries two bytes of padding.
    const std::size_t before = collector->frameCount();
    const std::string restart = startAndCollect(demo, 162, 122, before + 2);
    EXPECT_EQ(restart.find("buffer sizes do not match"), std::string::npos);
    const auto padded = collector->takeFrame(before + 1);
    ASSERT_TRUE(padded);
    EXPECT_EQ(padded->width, 162);
    EXPECT_EQ(padded->height, 122);
    // The wall's gradient is the same across a row: no row is shifted.
    const uchar* lastRow = padded->data + std::size_t(121) * 162 * 4;
    EXPECT_NEAR(lastRow[0], lastRow[161 * 4], 2);
}

TEST_F(GstCaptureTest, StreamEndIsReportedAndCaptureCanStartAgain) {
    makeThread([](VideoInputThr&) {}, std::make_unique<TestSourcePlatform>());
    const std::string console = consoleOf([&] {
        thread->startDevice(0, 64, 48, 30);
        EXPECT_TRUE(collector->waitForFrames(1, kFrameTimeoutMs));
        QThread::msleep(500);
    });
    EXPECT_NE(console.find("ERROR: the video stream ended\n"), std::string::npos) << console;
    EXPECT_LE(collector->frameCount(), std::size_t(TestSourcePlatform::kFramesBeforeEnd));
    // The run ends by itself with its source; a later stop changes nothing.
    EXPECT_TRUE(thread->wait(kFrameTimeoutMs));

    stop();
    const std::size_t before = collector->frameCount();
    startAndCollect(0, 64, 48, before + 1);
}

// Listing 640 by 480 only at slower rates and a large size at its default,
// the source still streams 640 by 480 when asked for it at 30 fps.
TEST_F(GstCaptureTest, SizeListedOnlyAtSlowerRatesIsCapturedAtTheNearestRate) {
    makeThread([](VideoInputThr&) {},
               std::make_unique<TestSourcePlatform>(
                   -1, "video/x-raw,format=BGR,width=1280,height=720,framerate=2/1;"
                       "video/x-raw,format=BGR,width=640,height=480,framerate={ 25/1, 10/1 }"));
    const std::string setup = startAndCollect(0, 640, 480, 2);
    EXPECT_NE(setup.find("SETUP: 30 fps not offered at 640 by 480 - using 25 fps\n"),
              std::string::npos)
        << setup;
    const auto frame = collector->takeFrame(1);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width, 640);
    EXPECT_EQ(frame->height, 480);
}

// Twenty frames at 15 per second: more than that means the clip looped.
// Motion JPEG clips are replayed in the tracker's video test.
TEST_F(GstCaptureTest, RecordedH264ClipIsReplayedAtTheRequestedSize) {
    QTemporaryDir folder;
    const QString clip = folder.filePath("h264.mp4");
    ASSERT_TRUE(clip_recorder::recordTestPatternClip(clip, "x264enc ! mp4mux"));
    makeThread([&](VideoInputThr& thread) { thread.addVideoFile(clip); });
    EXPECT_EQ(thread->deviceList().last(), QString("h264.mp4"));
    startAndCollect(lastDevice(), 160, 120, 25);
    const auto frame = collector->takeFrame(24);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width, 160);
    EXPECT_EQ(frame->height, 120);
}

} // namespace
