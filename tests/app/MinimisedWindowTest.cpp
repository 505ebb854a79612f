#include "analysis/VideoProcessor.h"
#include "app/ProcessObjects.h"
#include "app/SettingsWindow.h"
#include "capture/VideoInputThr.h"
#include "capture/platform/fake/FakeCapturePlatform.h"
#include "tests/support/FakeCaptureProcessObjects.h"
#include "view/RunnerThr.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace {

constexpr unsigned long kThreadEndMilliseconds = 5000;
// Blank frames show no arms; from the 46th on the estimator reports a drift
// back to level on every frame, which is what the test counts. A loaded
// machine may lose some frames, so a quarter is enough.
constexpr int kFramesToPush = 120;
constexpr int kLeastEstimates = kFramesToPush / 4;
constexpr int kFrameIntervalMilliseconds = 5;
constexpr int kSmallestPictureBytes = 160 * 120 * 3;

// The user flies another program with this one minimised: the flight view
// rests, while capture and the estimates that feed the outputs go on.
TEST(MinimisedWindowTest, EstimatesKeepFlowingWhileTheViewAndItsPacingRest) {
    QCoreApplication::setOrganizationName("Ruveviv");
    QCoreApplication::setApplicationName("Vizezu Verizuvuz");
    QSettings().clear();
    QSettings().setValue("tracking/Estimator", "classic");
    if (videoInputThr.deviceList().isEmpty())
        fakeCapture().addDevice("Front camera").acceptAnySize(platform::subtype::kRgb24);

    std::atomic<int> pings{0};
    int estimates = 0;
    QObject counter;
    QObject::connect(
        &runnerThr, &RunnerThr::ping, &counter, [&] { ++pings; }, Qt::DirectConnection);
    QObject::connect(&videoProcessor, &VideoProcessor::dataUpdate, &counter, [&] { ++estimates; });
    {
        SettingsWindow window;
        mainWindow = &window;
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ASSERT_TRUE(videoInputThr.isRunning()) << "showing the window starts capture";

        window.showMinimized();
        QTest::qWait(kFrameIntervalMilliseconds * 4);
        const int pingsWhenMinimised = pings;
        for (int frame = 0; frame < kFramesToPush; ++frame) {
            fakeCapture().pushSample(std::vector<uint8_t>(kSmallestPictureBytes, uint8_t(frame)));
            QTest::qWait(kFrameIntervalMilliseconds);
        }

        EXPECT_GE(estimates, kLeastEstimates);
        EXPECT_EQ(pings, pingsWhenMinimised);
        mainWindow = nullptr;
    }
    videoInputThr.stopDevice();
    EXPECT_TRUE(videoInputThr.wait(kThreadEndMilliseconds));
    runnerThr.stopMe();
    EXPECT_TRUE(runnerThr.wait(kThreadEndMilliseconds));
}

} // namespace
