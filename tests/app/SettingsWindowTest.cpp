#include "app/SettingsWindow.h"

#include "analysis/VideoProcessor.h"
#include "app/ProcessObjects.h"
#include "capture/VideoInputThr.h"
#include "capture/platform/fake/FakeCapturePlatform.h"
#include "tests/support/FakeCaptureProcessObjects.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr unsigned long kCaptureStopMilliseconds = 5000;
constexpr int64_t kThirtyFpsInterval = 10000000 / 30;
constexpr int64_t kFifteenFpsInterval = 10000000 / 15;

// Every test case normally runs in a process of its own; when the whole
// executable runs at once, cameras added by an earlier case are hidden
// again, since the fake cannot forget a device.
int camerasAdded = 0;

void useCameras(const std::vector<std::string>& names) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (int(i) >= camerasAdded) {
            fakeCapture().addDevice(names[i]).acceptAnySize(platform::subtype::kRgb24);
            ++camerasAdded;
        }
    }
    for (int i = 0; i < camerasAdded; ++i)
        fakeCapture().device(i).propertyStoreOpens = i < int(names.size());
}

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QCoreApplication::setOrganizationName("Ruveviv");
        QCoreApplication::setApplicationName("Vizezu Verizuvuz");
        QSettings().clear();
    }

    void TearDown() override {
        window.reset();
        mainWindow = nullptr;
        videoInputThr.stopDevice();
        videoInputThr.wait(kCaptureStopMilliseconds);
    }

    void openWindow() {
        window = std::make_unique<SettingsWindow>();
        mainWindow = window.get();
    }

    template <typename T> T* widget(const char* name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QComboBox* cameraList() { return widget<QComboBox>("comboBoxCameraSelect"); }
    QComboBox* fpsList() { return widget<QComboBox>("comboBoxFPS"); }
    QComboBox* resolutionList() { return widget<QComboBox>("comboBoxResolution"); }

    bool listsEnabled() {
        const bool camera = cameraList()->isEnabled();
        EXPECT_EQ(fpsList()->isEnabled(), camera);
        EXPECT_EQ(resolutionList()->isEnabled(), camera);
        return camera;
    }

    static void store(const char* key, int value) { QSettings().setValue(key, value); }

    std::unique_ptr<SettingsWindow> window;
};

TEST_F(SettingsWindowTest, FormHasTheDockTabsMenusAndPicturePanel) {
    useCameras({});
    openWindow();
    EXPECT_EQ(window->windowTitle(), "Zaredezid Settings");
    auto* tabs = widget<QTabWidget>("tabWidget");
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "Adjustments");
    EXPECT_EQ(tabs->tabText(1), "Invert");
    EXPECT_EQ(tabs->tabText(2), "Camera");
    EXPECT_EQ(tabs->currentIndex(), 2);

    auto* picture = widget<QLabel>("labelOut");
    EXPECT_EQ(picture->minimumSize(), QSize(320, 240));
    EXPECT_EQ(picture->maximumSize(), QSize(320, 240));
    EXPECT_EQ(picture->frameShape(), QFrame::Panel);
    EXPECT_TRUE(picture->text().isEmpty());

    auto* buttons = widget<QDialogButtonBox>("buttonBox");
    EXPECT_FALSE(buttons->isEnabled());
    EXPECT_TRUE(buttons->centerButtons());
    EXPECT_EQ(buttons->standardButtons(),
              QDialogButtonBox::Save | QDialogButtonBox::Cancel | QDialogButtonBox::Reset);

    auto* drivers = widget<QMenu>("menuInstall_Uninstall_drivers");
    EXPECT_FALSE(drivers->isEnabled());
    EXPECT_TRUE(drivers->actions().isEmpty());
    EXPECT_FALSE(widget<QMenu>("menuSettings")->isEnabled());
    EXPECT_FALSE(widget<QAction>("actionHelp")->isEnabled());
    EXPECT_TRUE(widget<QAction>("actionAbout")->isEnabled());
    auto* dock = widget<QDockWidget>("dockWidgetSettings");
    EXPECT_EQ(dock->minimumSize(), QSize(348, 473));
    EXPECT_EQ(window->dockWidgetArea(dock), Qt::RightDockWidgetArea);
    EXPECT_FALSE(widget<QPushButton>("pushButtonSystemCameraSettings")->isEnabled());
}

TEST_F(SettingsWindowTest, WithoutCameraTheListsAreFilledButDisabled) {
    useCameras({});
    openWindow();
    EXPECT_EQ(cameraList()->count(), 0);
    ASSERT_EQ(fpsList()->count(), 2);
    EXPECT_EQ(fpsList()->itemText(0), "15 fps");
    EXPECT_EQ(fpsList()->itemText(1), "30 fps");
    EXPECT_EQ(fpsList()->itemData(1).toInt(), 1);
    ASSERT_EQ(resolutionList()->count(), 2);
    EXPECT_EQ(resolutionList()->itemText(0), "160x120");
    EXPECT_EQ(resolutionList()->itemText(1), "320x240");
    EXPECT_EQ(fpsList()->currentIndex(), 1);
    EXPECT_EQ(resolutionList()->currentIndex(), 0);
    EXPECT_FALSE(listsEnabled());
}

TEST_F(SettingsWindowTest, WithTwoCamerasTheListsAreEnabledAndNamed) {
    useCameras({"Front camera", "Rear camera"});
    openWindow();
    ASSERT_EQ(cameraList()->count(), 2);
    EXPECT_EQ(cameraList()->itemText(0), "Front camera");
    EXPECT_EQ(cameraList()->itemText(1), "Rear camera");
    EXPECT_EQ(cameraList()->itemData(1).toInt(), 1);
    EXPECT_EQ(cameraList()->currentIndex(), 0);
    EXPECT_TRUE(listsEnabled());
}

TEST_F(SettingsWindowTest, StoredChoicesAreRestoredWhenTheyNameAnItem) {
    useCameras({"Front camera", "Rear camera"});
    store("settings/CameraId", 1);
    store("settings/FPSId", 0);
    store("settings/ResolutionId", 1);
    openWindow();
    EXPECT_EQ(cameraList()->currentIndex(), 1);
    EXPECT_EQ(fpsList()->currentIndex(), 0);
    EXPECT_EQ(resolutionList()->currentIndex(), 1);
}

TEST_F(SettingsWindowTest, StoredChoicesThatNameNoItemFallBack) {
    useCameras({"Front camera", "Rear camera"});
    store("settings/CameraId", 5);
    store("settings/FPSId", 7);
    store("settings/ResolutionId", 3);
    openWindow();
    EXPECT_EQ(cameraList()->currentIndex(), 0);
    EXPECT_EQ(fpsList()->currentIndex(), 1);
    EXPECT_EQ(resolutionList()->currentIndex(), 0);

    window.reset();
    store("settings/FPSId", -1);
    openWindow();
    EXPECT_EQ(fpsList()->currentIndex(), 1);
}

TEST_F(SettingsWindowTest, StartOpensTheChosenCameraAtTheChosenSizeAndRate) {
    useCameras({"Front camera", "Rear camera"});
    openWindow();
    cameraList()->setCurrentIndex(1);
    fpsList()->setCurrentIndex(1);
    resolutionList()->setCurrentIndex(1);

    EXPECT_TRUE(window->startStop());
    EXPECT_FALSE(listsEnabled());
    EXPECT_TRUE(videoInputThr.isRunning());
    const auto& formats = fakeCapture().device(1).submittedFormats;
    ASSERT_FALSE(formats.empty());
    EXPECT_EQ(formats.front().video.width, 320);
    EXPECT_EQ(formats.front().video.height, 240);
    EXPECT_EQ(formats.front().video.averageTimePerFrame, kThirtyFpsInterval);

    EXPECT_FALSE(window->startStop());
    EXPECT_TRUE(listsEnabled());
    EXPECT_TRUE(videoInputThr.wait(kCaptureStopMilliseconds));
}

TEST_F(SettingsWindowTest, FirstPositionsMeanFifteenFramesAndTheSmallPicture) {
    useCameras({"Front camera"});
    openWindow();
    fpsList()->setCurrentIndex(0);
    resolutionList()->setCurrentIndex(0);
    ASSERT_TRUE(window->startStop());
    const auto& formats = fakeCapture().device(0).submittedFormats;
    ASSERT_FALSE(formats.empty());
    EXPECT_EQ(formats.front().video.width, 160);
    EXPECT_EQ(formats.front().video.height, 120);
    EXPECT_EQ(formats.front().video.averageTimePerFrame, kFifteenFpsInterval);
}

TEST_F(SettingsWindowTest, WithoutCameraStartStopStillTogglesAndStopEnablesTheLists) {
    useCameras({});
    openWindow();
    EXPECT_TRUE(window->startStop());
    EXPECT_FALSE(listsEnabled());
    EXPECT_FALSE(window->startStop());
    EXPECT_TRUE(listsEnabled());
}

TEST_F(SettingsWindowTest, ResponseSlidersSetTheEstimatorResponsesAtOnce) {
    useCameras({});
    openWindow();
    EXPECT_EQ(videoProcessor.rollResponse, 12);
    EXPECT_EQ(videoProcessor.pitchResponse, 12);
    widget<QSlider>("horizontalSliderResponseRoll")->setValue(99);
    widget<QSlider>("horizontalSliderResponsePitch")->setValue(3);
    EXPECT_EQ(videoProcessor.rollResponse, 24);
    EXPECT_EQ(videoProcessor.pitchResponse, 0);
}

TEST_F(SettingsWindowTest, ChangesReachTheStoreOnlyWhenTheWindowCloses) {
    useCameras({});
    openWindow();
    widget<QSlider>("horizontalSliderResponseRoll")->setValue(80);
    EXPECT_TRUE(QSettings().allKeys().isEmpty());
    window.reset();
    EXPECT_EQ(QSettings().value("settings/ResponseRoll").toInt(), 80);
    EXPECT_EQ(QSettings().allKeys().size(), 13);
}

TEST_F(SettingsWindowTest, ClosingTheDockEnablesTheSettingsMenuAndEditBringsItBack) {
    useCameras({});
    openWindow();
    window->show();
    auto* dock = widget<QDockWidget>("dockWidgetSettings");
    auto* menu = widget<QMenu>("menuSettings");
    ASSERT_TRUE(dock->isVisible());
    EXPECT_FALSE(menu->isEnabled());

    dock->close();
    EXPECT_TRUE(menu->isEnabled());
    widget<QAction>("actionShow")->trigger();
    EXPECT_TRUE(dock->isVisible());
    EXPECT_FALSE(menu->isEnabled());
}

} // namespace
