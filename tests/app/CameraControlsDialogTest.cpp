#include "app/CameraControlsDialog.h"

#include "app/ProcessObjects.h"
#include "app/SettingsWindow.h"
#include "capture/VideoInputThr.h"
#include "capture/platform/fake/FakeCameraControls.h"
#include "capture/platform/fake/FakeCapturePlatform.h"
#include "capture/platform/fake/FakeControlBoard.h"
#include "capture/platform/fake/FakeDevice.h"
#include "tests/support/FakeCaptureProcessObjects.h"
#include "tests/support/SampleCameraControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;
using namespace sample_controls;

namespace {

CameraControl onBoard(const fake::FakeControlBoard& board, uint32_t id) {
    for (const CameraControl& found : board.controls())
        if (found.id == id)
            return found;
    return {};
}

class CameraControlsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        QCoreApplication::setOrganizationName("Ruveviv");
        QCoreApplication::setApplicationName("Vizezu Verizuvuz");
        QSettings().clear();
    }

    void TearDown() override {
        dialog.reset();
        window.reset();
        for (fake::FakeDevice* device : plugged)
            device->pluggedIn = false;
        videoInputThr.stopDevice();
        videoInputThr.wait(5000);
    }

    void openDialog() {
        dialog = std::make_unique<CameraControlsDialog>(
            "Studio camera", std::make_shared<fake::FakeCameraControls>(board), nullptr);
    }

    template <typename T> T* in(const char* shortName, QWidget* parent = nullptr) {
        QWidget* editor =
            (parent ? parent : dialog.get())->findChild<QWidget*>(QString("control_") + shortName);
        T* found = editor ? editor->findChild<T*>() : nullptr;
        EXPECT_NE(found, nullptr) << shortName;
        return found;
    }

    QString status() { return dialog->findChild<QLabel*>("labelControlStatus")->text(); }
    static void settle() { QCoreApplication::processEvents(); }

    std::shared_ptr<fake::FakeControlBoard> board =
        std::make_shared<fake::FakeControlBoard>("usb-0000:00:14.0-1", webcamControls());
    std::unique_ptr<CameraControlsDialog> dialog;
    std::unique_ptr<SettingsWindow> window;
    std::vector<fake::FakeDevice*> plugged;
};

TEST_F(CameraControlsDialogTest, EachKindGetsItsEditorWithTheCamerasRangesAndFlags) {
    openDialog();
    EXPECT_EQ(dialog->windowTitle(), "Camera controls");
    EXPECT_EQ(in<QSlider>("brightness")->maximum(), 255);
    EXPECT_EQ(in<QSpinBox>("brightness")->value(), 128);
    EXPECT_EQ(in<QSpinBox>("sharpness")->singleStep(), 2);
    EXPECT_TRUE(in<QCheckBox>("gain_automatic")->isChecked());
    EXPECT_FALSE(dialog->findChild<QWidget*>("control_gain")->isEnabled());
    QComboBox* scene = in<QComboBox>("scene_mode");
    ASSERT_EQ(scene->count(), 3);
    EXPECT_EQ(scene->itemData(2).toLongLong(), 3);
    EXPECT_EQ(in<QComboBox>("link_frequency")->currentText(), "100");
    EXPECT_NE(in<QPushButton>("restart"), nullptr);
    EXPECT_EQ(in<QLineEdit>("pixel_offset")->text(), "0");
    EXPECT_EQ(in<QLineEdit>("error_mask")->text(), "0x3");
    EXPECT_EQ(in<QLineEdit>("label")->maxLength(), 10);
    // Read-only: shown, enabled, not editable. Write-only: no value shown.
    EXPECT_TRUE(dialog->findChild<QWidget*>("control_firmware_version")->isEnabled());
    EXPECT_FALSE(in<QSlider>("firmware_version")->isEnabled());
    EXPECT_TRUE(in<QSpinBox>("firmware_version")->isReadOnly());
    EXPECT_EQ(in<QSpinBox>("firmware_version")->value(), 7);
    EXPECT_TRUE(in<QSpinBox>("trigger")->text().isEmpty());
}

// The camera narrows brightness to 0..100 behind the dialog's back, as a
// driver may when another mode is chosen. The scene menu has no index 2, so
// its third entry is index 3.
TEST_F(CameraControlsDialogTest, ChangesReachTheCameraRefusalsAreExplainedAndEventsShowAtOnce) {
    openDialog();
    in<QSlider>("brightness")->setValue(150);
    emit in<QComboBox>("scene_mode")->activated(2);
    ASSERT_EQ(board->writes().size(), 2u);
    EXPECT_EQ(board->writes()[0].value, 150);
    EXPECT_EQ(onBoard(*board, kScene).value, 3);

    CameraControl narrowed = onBoard(*board, kBrightness);
    narrowed.maximum = 100;
    board->change(narrowed);
    in<QSlider>("brightness")->setValue(200);
    EXPECT_EQ(in<QSpinBox>("brightness")->value(), 150);
    EXPECT_EQ(in<QSlider>("brightness")->value(), 150);
    EXPECT_EQ(status(), "The camera refused this value of Brightness.");
    QLineEdit* label = in<QLineEdit>("label");
    label->setText("x");
    label->setModified(true);
    emit label->editingFinished();
    EXPECT_EQ(label->text(), "abc");
    EXPECT_TRUE(status().contains("Label")) << status().toStdString();
    EXPECT_EQ(board->writes().size(), 2u);

    // Events come from another thread in a real camera, so they show once
    // the event loop runs; showing them writes nothing back.
    CameraControl autoGainOff = onBoard(*board, kGainAutomatic);
    autoGainOff.value = 0;
    CameraControl gainActive = onBoard(*board, kGain);
    gainActive.flags = 0;
    gainActive.value = 70;
    for (const CameraControl& state : {autoGainOff, gainActive})
        board->change(state);
    settle();
    EXPECT_TRUE(dialog->findChild<QWidget*>("control_gain")->isEnabled());
    EXPECT_EQ(in<QSlider>("gain")->value(), 70);
    EXPECT_FALSE(in<QCheckBox>("gain_automatic")->isChecked());
    EXPECT_EQ(board->writes().size(), 2u);
}

// Gain is listed before its automatic mode, which must still go first.
// Changes are saved once the user pauses; one still waiting when the reset
// comes must not be saved after it.
TEST_F(CameraControlsDialogTest, ResetToDefaultsWritesAutomaticModesFirstAndForgetsTheCamera) {
    openDialog();
    in<QSlider>("brightness")->setValue(10);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QSettings().allKeys().isEmpty(); }));
    in<QCheckBox>("gain_automatic")->setChecked(false);
    emit in<QComboBox>("power_line_frequency")->activated(0);
    const size_t before = board->writes().size();

    dialog->findChild<QPushButton*>("pushButtonResetDefaults")->click();
    const std::vector<CameraControl> writes = board->writes();
    ASSERT_GT(writes.size(), before);
    EXPECT_EQ(writes[before].id, kGainAutomatic);
    for (const CameraControl& original : webcamControls()) {
        if (original.has(controlflag::kWriteOnly))
            continue;
        EXPECT_EQ(onBoard(*board, original.id).value, original.defaultValue) << original.name;
    }
    EXPECT_EQ(in<QSlider>("brightness")->value(), 128);
    EXPECT_TRUE(in<QCheckBox>("gain_automatic")->isChecked());
    EXPECT_EQ(in<QComboBox>("power_line_frequency")->currentText(), "50 Hz");
    EXPECT_EQ(status(), "Every control is back to its default.");
    EXPECT_TRUE(QSettings().allKeys().isEmpty());

    // A default the camera refuses leaves the user's value, and its memory.
    in<QSlider>("sharpness")->setValue(7);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QSettings().allKeys().isEmpty(); }));
    CameraControl narrowed = onBoard(*board, kSharpness);
    narrowed.minimum = 7;
    board->change(narrowed);
    dialog->findChild<QPushButton*>("pushButtonResetDefaults")->click();
    EXPECT_EQ(status(), "The camera kept its value of Sharpness.");
    dialog.reset();
    const QStringList kept = QSettings().allKeys();
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(kept.first().endsWith("/Sharpness")) << kept.first().toStdString();
}

// A new window is a new run of the program: what the user set comes back at
// the next start, except a value the camera no longer takes.
TEST_F(CameraControlsDialogTest, ButtonFollowsTheChosenCameraAndChangesComeBackAtTheNextStart) {
    plugged.push_back(&fakeCapture().addDevice("Demo camera"));
    fake::FakeDevice& studio = fakeCapture().addDevice("Studio camera");
    studio.acceptAnySize(subtype::kRgb24).withControls("usb-0000:00:14.0-1", webcamControls());
    plugged.push_back(&studio);
    window = std::make_unique<SettingsWindow>();
    auto* cameras = window->findChild<QComboBox*>("comboBoxCameraSelect");
    auto* button = window->findChild<QPushButton*>("pushButtonSystemCameraSettings");
    cameras->setCurrentIndex(cameras->findText("Demo camera"));
    EXPECT_FALSE(button->isEnabled());
    cameras->setCurrentIndex(cameras->findText("Studio camera"));
    ASSERT_TRUE(button->isEnabled());
    button->click();
    button->click();
    ASSERT_EQ(window->findChildren<CameraControlsDialog*>().size(), 1);
    QWidget* controls = window->findChild<CameraControlsDialog*>();
    EXPECT_TRUE(controls->isVisible());
    in<QSlider>("brightness", controls)->setValue(150);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QSettings().allKeys().isEmpty(); }));
    in<QSlider>("brightness", controls)->setValue(200);
    emit in<QComboBox>("scene_mode", controls)->activated(2);
    // A start before the change is saved must not set the older value again.
    ASSERT_TRUE(window->startStop());
    EXPECT_EQ(onBoard(*studio.controls, kBrightness).value, 200);
    window->startStop();

    CameraControl narrowed = onBoard(*studio.controls, kBrightness);
    narrowed.maximum = 100;
    narrowed.value = 50;
    CameraControl scene = onBoard(*studio.controls, kScene);
    scene.value = 0;
    for (const CameraControl& state : {narrowed, scene})
        studio.controls->change(state);
    window.reset();
    window = std::make_unique<SettingsWindow>();
    cameras = window->findChild<QComboBox*>("comboBoxCameraSelect");
    cameras->setCurrentIndex(cameras->findText("Studio camera"));
    ASSERT_TRUE(window->startStop());
    EXPECT_EQ(onBoard(*studio.controls, kScene).value, 3);
    EXPECT_EQ(onBoard(*studio.controls, kBrightness).value, 50);
    window->startStop();

    // Unplugged, the camera takes its dialog with it, even when a camera of
    // the same make, on another port, takes its place in the list.
    fake::FakeDevice& twin = fakeCapture().addDevice("Studio camera");
    twin.acceptAnySize(subtype::kRgb24).withControls("usb-0000:00:14.0-2", webcamControls());
    plugged.push_back(&twin);
    window->findChild<QPushButton*>("pushButtonSystemCameraSettings")->click();
    ASSERT_NE(window->findChild<CameraControlsDialog*>(), nullptr);
    studio.pluggedIn = false;
    emit videoInputThr.devicesChanged();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->findChild<CameraControlsDialog*>(); }));
    EXPECT_TRUE(window->findChild<QPushButton*>("pushButtonSystemCameraSettings")->isEnabled());
}

} // namespace
