#include "analysis/VideoProcessor.h"
#include "app/ProcessObjects.h"
#include "app/SettingsWindow.h"
#include "capture/VideoInputThr.h"
#include "view/GLWidget.h"
#include "view/RunnerThr.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

// The full soak is a thousand cycles; ZAREDEZID_SOAK_CYCLES sets another
// count, for a quicker run under the slower sanitizers. A cycle that hangs
// is caught by the test's CTest timeout.
constexpr int kDefaultCycles = 1000;
// Every so many cycles the test waits until a frame has gone all the way
// to the estimator, to prove that capture really runs after a restart.
constexpr int kFrameCheckInterval = 20;
constexpr int kFrameWaitMilliseconds = 10000;
constexpr int kThreadEndMilliseconds = 10000;

int soakCycles() {
    const int requested = qEnvironmentVariableIntValue("ZAREDEZID_SOAK_CYCLES");
    return requested > 0 ? requested : kDefaultCycles;
}

class StartStopSoakTest : public ::testing::Test {
protected:
    void SetUp() override {
        QCoreApplication::setOrganizationName("Ruveviv");
        QCoreApplication::setApplicationName("Vizezu Verizuvuz");
        videoInputThr.addDemoCamera();
        const int demoCamera = videoInputThr.deviceList().lastKey();

        // Values unlike the defaults, so that a file rewritten with defaults
        // or cut short is told apart from one saved intact.
        settings = {{"settings/ResponseRoll", 37},     {"settings/ResponsePitch", 61},
                    {"settings/ZeroRoll", 120},        {"settings/ZeroPitch", 130},
                    {"settings/MinRoll", 5},           {"settings/MinPitch", 6},
                    {"settings/MaxRoll", 250},         {"settings/MaxPitch", 251},
                    {"settings/InvertRoll", true},     {"settings/InvertPitch", true},
                    {"settings/CameraId", demoCamera}, {"settings/FPSId", 1},
                    {"settings/ResolutionId", 0}};
        QSettings store;
        store.clear();
        for (const QString& key : settings.keys())
            store.setValue(key, settings[key]);
        store.sync();
        ASSERT_EQ(store.status(), QSettings::NoError);

        counting = QObject::connect(&videoProcessor, &VideoProcessor::dataUpdate, &videoProcessor,
                                    [this] { ++estimates; });
    }

    void TearDown() override { QObject::disconnect(counting); }

    void doubleClick(QWidget* view) {
        QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, view->rect().center());
        QCoreApplication::processEvents();
    }

    bool waitForEstimateAfter(long before) {
        return QTest::qWaitFor([&] { return estimates > before; }, kFrameWaitMilliseconds);
    }

    QVariantMap settings;
    QMetaObject::Connection counting;
    long estimates = 0;
};

TEST_F(StartStopSoakTest, DoubleClickCyclesKeepCaptureAndPacingAliveAndSettingsIntact) {
    const int cycles = soakCycles();
    {
        SettingsWindow window;
        mainWindow = &window;
        window.resize(800, 600);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        GLWidget* view = window.findChild<GLWidget*>();
        ASSERT_NE(view, nullptr);
        // Showing the view started capture and pacing.
        ASSERT_TRUE(waitForEstimateAfter(0)) << "no frame reached the estimator after showing";

        for (int cycle = 1; cycle <= cycles; ++cycle) {
            doubleClick(view);
            doubleClick(view);
            if (cycle % kFrameCheckInterval == 0 || cycle == cycles) {
                ASSERT_TRUE(runnerThr.isPacing()) << "cycle " << cycle;
                ASSERT_TRUE(waitForEstimateAfter(estimates))
                    << "capture delivered nothing after restart " << cycle;
            }
        }
        std::printf("soak: %d start/stop cycles, %ld estimates\n", cycles, estimates);

        doubleClick(view);
        EXPECT_TRUE(videoInputThr.wait(kThreadEndMilliseconds));
        EXPECT_TRUE(runnerThr.wait(kThreadEndMilliseconds));
        mainWindow = nullptr;
    }

    // The window saved the settings as it went; they must read back whole,
    // with no key of the settings group lost or added.
    QSettings store;
    ASSERT_EQ(store.status(), QSettings::NoError);
    EXPECT_TRUE(QFileInfo(store.fileName()).isFile());
    store.beginGroup("settings");
    EXPECT_EQ(store.childKeys().size(), static_cast<int>(settings.size()));
    store.endGroup();
    for (const QString& key : settings.keys())
        EXPECT_EQ(store.value(key).toString(), settings[key].toString()) << key.toStdString();
}

} // namespace
