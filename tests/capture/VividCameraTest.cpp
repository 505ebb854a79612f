#include "CaptureTestSupport.h"

#include "capture/VideoInputThr.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <cstdio>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace capture_test;

namespace {

constexpr int kJoinTimeoutMs = 20000;
// Long enough for a fair count of frames at 15 fps even under emulation.
constexpr int kCaptureMs = 2000;

struct VividNode {
    QString path;
    QString card;
};

// The kernel's virtual camera, found by its driver's name; empty without it.
VividNode findVivid() {
    for (const QFileInfo& node : QDir("/dev").entryInfoList({"video*"}, QDir::System)) {
        const int descriptor = ::open(qPrintable(node.filePath()), O_RDWR | O_NONBLOCK);
        if (descriptor < 0) {
            continue;
        }
        v4l2_capability capability{};
        const bool isVivid = ::ioctl(descriptor, VIDIOC_QUERYCAP, &capability) == 0 &&
                             QString(reinterpret_cast<const char*>(capability.driver)) == "vivid";
        ::close(descriptor);
        if (isVivid) {
            return {node.filePath(), reinterpret_cast<const char*>(capability.card)};
        }
    }
    return {};
}

// Counts the frames a capture thread emits and remembers every size among
// them that differs from the expected one. Frames are freed at once.
class FrameCounter {
public:
    explicit FrameCounter(VideoInputThr& thread) {
        QObject::connect(&thread, &VideoInputThr::capturedFrame, [this](I::Image* frame) {
            const QSize size(frame->width, frame->height);
            delete frame;
            QMutexLocker locker(&lock_);
            ++count_;
            if (size != expected_) {
                wrongSizes_.append(size);
            }
        });
    }
    void reset(const QSize& expected) {
        QMutexLocker locker(&lock_);
        expected_ = expected;
        count_ = 0;
        wrongSizes_.clear();
    }
    int count() {
        QMutexLocker locker(&lock_);
        return count_;
    }
    QList<QSize> wrongSizes() {
        QMutexLocker locker(&lock_);
        return wrongSizes_;
    }

private:
    QMutex lock_;
    QSize expected_;
    int count_ = 0;
    QList<QSize> wrongSizes_;
};

// vivid has one capture device; its disconnect control takes it away for
// good, so all of its cases run in one, the disconnect last. They run in the
// device tests' virtual machine and skip elsewhere, unless the machine says
// the device must be there.
TEST(VividCamera, CapturesAtEveryOfferedSizeAndRateRestartsAndSurvivesADisconnect) {
    const VividNode vivid = findVivid();
    if (vivid.path.isEmpty()) {
        if (qEnvironmentVariableIsSet("ZAREDEZID_DEVICES_PRESENT")) {
            FAIL() << "no vivid camera, although this machine should have one";
        }
        GTEST_SKIP() << "no /dev/video* of the vivid driver: this kernel has not loaded the "
                        "virtual camera module";
    }
    std::unique_ptr<VideoInputThr> thread;
    consoleOf([&] { thread = std::make_unique<VideoInputThr>(); });
    const int camera = thread->deviceList().key(vivid.card, -1);
    ASSERT_GE(camera, 0) << "the device list lacks " << vivid.card.toStdString();
    FrameCounter frames(*thread);
    QSignalSpy started(thread.get(), &VideoInputThr::captureStarted);

    auto capture = [&](int width, int height, int rate) {
        started.clear();
        const std::string setUp =
            consoleOf([&] { thread->startDevice(camera, width, height, rate); });
        ASSERT_EQ(started.size(), 1);
        const QSize size = started[0][1].toSize();
        const int reportedRate = started[0][2].toInt();
        ASSERT_FALSE(size.isEmpty()) << setUp;
        frames.reset(size);
        QElapsedTimer clock;
        clock.start();
        QTest::qWait(kCaptureMs);
        const int received = frames.count();
        const double seconds = clock.elapsed() / 1000.0;
        consoleOf([&] {
            thread->stopDevice();
            EXPECT_TRUE(thread->wait(kJoinTimeoutMs));
        });
        // The table of what was asked and what came, for whoever reads the log.
        std::printf("asked %dx%d @ %d -> set up %dx%d @ %d, received %.1f frames/s\n", width,
                    height, rate, size.width(), size.height(), reportedRate, received / seconds);
        EXPECT_GT(received, 0) << setUp;
        EXPECT_TRUE(frames.wrongSizes().isEmpty())
            << "asked " << width << "x" << height << " @ " << rate << ": a frame of "
            << frames.wrongSizes().first().width() << "x" << frames.wrongSizes().first().height()
            << " while the layer reported " << size.width() << "x" << size.height() << "\n"
            << setUp;
    };
    for (const QSize& size : {QSize(160, 120), QSize(320, 240), QSize(640, 480)}) {
        for (int rate : {15, 30, 60}) {
            capture(size.width(), size.height(), rate);
        }
    }

    // Unplugging while frames flow ends the run with the layer's error line;
    // the camera then leaves the list.
    QSignalSpy ended(thread.get(), &VideoInputThr::sourceEnded);
    consoleOf([&] { thread->startDevice(camera, 320, 240, 30); });
    frames.reset(QSize());
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames.count() > 0; }, kJoinTimeoutMs));
    const std::string console = consoleOf([&] {
        EXPECT_EQ(QProcess::execute("v4l2-ctl", {"-d", vivid.path, "--set-ctrl", "disconnect=1"}),
                  0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !ended.isEmpty(); }, kJoinTimeoutMs));
        EXPECT_TRUE(thread->wait(kJoinTimeoutMs));
    });
    EXPECT_NE(console.find("ERROR"), std::string::npos) << console;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !thread->deviceList().values().contains(vivid.card); },
                                kJoinTimeoutMs));
    consoleOf([&] { thread.reset(); });
}

} // namespace
