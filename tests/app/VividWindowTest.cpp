#include "app/ProcessObjects.h"
#include "app/SettingsWindow.h"
#include "capture/VideoInputThr.h"
#include "tests/support/VividCamera.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int kWaitMilliseconds = 30000;
const QString kSeparator = QString::fromUtf8(" · ");

int greyLevels(const QPixmap& picture) {
    const QImage image = picture.toImage();
    QSet<int> levels;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            levels.insert(qGray(image.pixel(x, y)));
    return levels.size();
}

// Each case starts the window on vivid's camera at 320 by 240; without the
// camera it skips, unless this machine should have it.
class VividWindow : public ::testing::Test {
protected:
    void SetUp() override {
        vivid = vivid::find();
        SKIP_UNLESS_VIVID_PRESENT(vivid);
        QCoreApplication::setOrganizationName("Ruveviv");
        QCoreApplication::setApplicationName("Vizezu Verizuvuz");
        QSettings store;
        store.clear();
        store.setValue("settings/CameraId", videoInputThr.deviceList().key(vivid.card, -1));
        store.setValue("settings/ResolutionId", 1);
        store.sync();
        window = std::make_unique<SettingsWindow>();
        mainWindow = window.get();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override {
        mainWindow = nullptr;
        window.reset();
    }

    vivid::Node vivid;
    std::unique_ptr<SettingsWindow> window;
};

// What v4l2-ctl reads of one control, as "name: value".
QString ctrl(const vivid::Node& vivid, const QString& name) {
    QProcess v4l2ctl;
    v4l2ctl.start("v4l2-ctl", {"-d", vivid.path, "--get-ctrl", name});
    v4l2ctl.waitForFinished(kWaitMilliseconds);
    return QString::fromLocal8Bit(v4l2ctl.readAllStandardOutput()).trimmed();
}

// The camera's controls dialog on a real V4L2 camera: every kind vivid has
// gets an editor without harm, a change reaches the camera at once, and
// switching its automatic gain off makes the gain editable.
TEST_F(VividWindow, CameraControlsDialogSetsTheCamera) {
    auto* button = window->findChild<QPushButton*>("pushButtonSystemCameraSettings");
    ASSERT_TRUE(button->isEnabled());
    button->click();
    auto* dialog = window->findChild<QDialog*>("CameraControlsDialog");
    ASSERT_NE(dialog, nullptr);

    dialog->findChild<QWidget*>("control_brightness")->findChild<QSlider*>()->setValue(99);
    EXPECT_EQ(ctrl(vivid, "brightness"), "brightness: 99");

    auto* gain = dialog->findChild<QWidget*>("control_gain");
    EXPECT_FALSE(gain->isEnabled()) << "gain is inactive while automatic";
    dialog->findChild<QWidget*>("control_gain_automatic")->findChild<QCheckBox*>()->click();
    EXPECT_EQ(ctrl(vivid, "gain_automatic"), "gain_automatic: 0");
    EXPECT_TRUE(QTest::qWaitFor([&] { return gain->isEnabled(); }, kWaitMilliseconds));
}

// The window as a user starts it on the kernel's virtual camera, on the real
// capture platform: vivid's test picture reaches the camera view, a camera
// that stops answering stops capture and the status bar says why, and once
// it is unplugged it leaves the list. No device test may use the camera
// after this one.
TEST_F(VividWindow, ShowsTheCameraAndStopsWhenItFails) {
    auto* cameras = window->findChild<QComboBox*>("comboBoxCameraSelect");
    auto* status = window->findChild<QLabel*>("labelStatus");
    auto* view = window->findChild<QLabel*>("labelOut");
    EXPECT_EQ(cameras->currentText(), vivid.card);

    // Colour bars, however grey, hold more than a handful of levels.
    EXPECT_TRUE(QTest::qWaitFor([&] { return greyLevels(view->pixmap(Qt::ReturnByValue)) > 5; },
                                kWaitMilliseconds));
    EXPECT_TRUE(QTest::qWaitFor([&] { return status->text().startsWith(vivid.card + kSeparator); },
                                kWaitMilliseconds))
        << status->text().toStdString();

    ASSERT_EQ(QProcess::execute("v4l2-ctl", {"-d", vivid.path, "--set-ctrl", "disconnect=1"}), 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return status->text().startsWith("Stopped" + kSeparator + vivid.card + ": "); },
        kWaitMilliseconds))
        << status->text().toStdString();
    EXPECT_TRUE(cameras->isEnabled());

    // Unloading the driver is the unplugging the device list hears of; it
    // succeeds only when nothing holds the camera open any more.
    ASSERT_EQ(QProcess::execute("rmmod", {"vivid"}), 0);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return cameras->findText(vivid.card) < 0; }, kWaitMilliseconds));
}

} // namespace
