#include "CaptureTestSupport.h"

#include "capture/VideoInputThr.h"
#include "tests/support/VividCamera.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <gtest/gtest.h>

using namespace capture_test;

namespace {

constexpr int kJoinTimeoutMs = 20000;
// Long enough for a fair count of frames at 15 fps even under emulation.
constexpr int kCaptureMs = 2000;

// What the capture thread delivered since the last reset: how many frames,
// and the first whose size was not the expected one. Frames are freed at once.
struct FrameTally {
    void reset(const QSize& expectedSize) {
        QMutexLocker locker(&lock);
        expected = expectedSize;
        count = 0;
        wrongSize = QSize();
    }
    void add(const I::Image& frame) {
        QMutexLocker locker(&lock);
        ++count;
        if (QSize(frame.width, frame.height) != expected && wrongSize.isEmpty()) {
            wrongSize = QSize(frame.width, frame.height);
        }
    }
    QMutex lock;
    QSize expected;
    std::atomic<int> count{0};
    // Read once the capture thread has ended.
    QSize wrongSize;
};

// Descriptors of the node that this process holds open.
int openDescriptorsOf(const QString& node) {
    const QFileInfoList links =
        QDir("/proc/self/fd").entryInfoList(QDir::System | QDir::NoDotAndDotDot);
    return static_cast<int>(std::count_if(links.begin(), links.end(), [&](const QFileInfo& link) {
        return link.symLinkTarget() == node;
    }));
}

// The kernel's virtual camera, through the device monitor and v4l2src: every
// size and rate the window offers, with the fall-backs. It runs in the device
// tests' virtual machine and skips elsewhere, unless the machine says the
// device must be there.
TEST(VividCamera, CapturesAtEveryOfferedSizeAndRateAndRestarts) {
    const vivid::Node vivid = vivid::find();
    SKIP_UNLESS_VIVID_PRESENT(vivid);
    std::unique_ptr<VideoInputThr> thread;
    consoleOf([&] { thread = std::make_unique<VideoInputThr>(); });
    const int camera = thread->deviceList().key(vivid.card, -1);
    ASSERT_GE(camera, 0) << "the device list lacks " << vivid.card.toStdString();
    FrameTally frames;
    QObject::connect(thread.get(), &VideoInputThr::capturedFrame, [&](I::Image* frame) {
        frames.add(*frame);
        delete frame;
    });
    QSignalSpy started(thread.get(), &VideoInputThr::captureStarted);

    QSize size;
    auto capture = [&](int width, int height, int rate) {
        size = QSize();
        started.clear();
        const std::string setUp =
            consoleOf([&] { thread->startDevice(camera, width, height, rate); });
        ASSERT_EQ(started.size(), 1);
        size = started[0][1].toSize();
        const int reportedRate = started[0][2].toInt();
        ASSERT_FALSE(size.isEmpty()) << setUp;
        frames.reset(size);
        QElapsedTimer clock;
        clock.start();
        QTest::qWait(kCaptureMs);
        const int received = frames.count;
        const double seconds = clock.elapsed() / 1000.0;
        consoleOf([&] {
            thread->stopDevice();
            EXPECT_TRUE(thread->wait(kJoinTimeoutMs));
        });
        // The table of what was asked and what came, for whoever reads the log.
        std::printf("asked %dx%d @ %d -> set up %dx%d @ %d, received %.1f frames/s\n", width,
                    height, rate, size.width(), size.height(), reportedRate, received / seconds);
        // Wide bounds: emulation may drop frames, but never turns the rate
        // set up into a crawl.
        EXPECT_GE(received / seconds, reportedRate / 3.0) << setUp;
        EXPECT_TRUE(frames.wrongSize.isEmpty())
            << "asked " << width << "x" << height << " @ " << rate << ": a frame of "
            << frames.wrongSize.width() << "x" << frames.wrongSize.height()
            << " while the layer reported " << size.width() << "x" << size.height() << "\n"
            << setUp;
    };
    // The rate is a preference: the size set up for a request is the same
    // whatever the rate asked.
    for (const QSize& asked : {QSize(160, 120), QSize(320, 240), QSize(640, 480)}) {
        QSize sizeAtFirstRate;
        for (int rate : {15, 30, 60}) {
            capture(asked.width(), asked.height(), rate);
            sizeAtFirstRate = sizeAtFirstRate.isEmpty() ? size : sizeAtFirstRate;
            EXPECT_EQ(size, sizeAtFirstRate) << "asked " << rate << " fps";
        }
    }
    // vivid offers this size itself.
    EXPECT_EQ(size, QSize(640, 480));
    // Every stop lets go of the camera, or the driver could never be unloaded.
    EXPECT_EQ(openDescriptorsOf(vivid.path), 0);

    consoleOf([&] { thread.reset(); });
}

} // namespace
