#include "app/CameraControlSettings.h"
#include "capture/platform/fake/FakeCameraControls.h"
#include "capture/platform/fake/FakeControlBoard.h"
#include "tests/support/SampleCameraControls.h"

#include <QCoreApplication>
#include <QSettings>
#include <gtest/gtest.h>

#include <memory>

using platform::CameraControl;

namespace {

// A camera name and a control name that hold the characters QSettings takes
// for group separators.
const char* const kCameraName = "HD Cam / Pro\\2";
const char* const kBusPath = "usb-0000:00:14.0-1";
const char* const kTwinBusPath = "usb-0000:00:14.0-2";

class CameraControlSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        QCoreApplication::setOrganizationName("Ruveviv");
        QCoreApplication::setApplicationName("Vizezu Verizuvuz");
        QSettings().clear();
    }

    // A camera as it is plugged in at a start, its controls at their defaults.
    static std::shared_ptr<fake::FakeControlBoard>
    plugIn(std::vector<CameraControl> controls = sample_controls::webcamControls()) {
        return std::make_shared<fake::FakeControlBoard>(kBusPath, std::move(controls));
    }

    // What a start of the camera sets, with the lines it prints.
    static int applySaved(const std::shared_ptr<fake::FakeControlBoard>& board,
                          std::string& printed, const std::string& busPath = kBusPath) {
        fake::FakeCameraControls controls(board);
        testing::internal::CaptureStderr();
        const int setCount = CameraControlSettings(kCameraName, busPath).apply(controls);
        printed = testing::internal::GetCapturedStderr();
        return setCount;
    }

    static CameraControl changed(uint32_t id, int64_t value) {
        for (CameraControl control : sample_controls::webcamControls()) {
            if (control.id == id) {
                control.value = value;
                return control;
            }
        }
        return {};
    }
};

// Saved values come back on the next start, automatic modes first so that
// the manual gain after them is not refused; the other camera of the same
// make keeps its own values, and a reset forgets them.
TEST_F(CameraControlSettingsTest, ValuesComeBackAtTheNextStartPerCameraUntilReset) {
    using namespace sample_controls;
    {
        CameraControlSettings settings(kCameraName, kBusPath);
        settings.remember(changed(kGain, 70));
        settings.remember(changed(kGainAutomatic, 0));
        settings.remember(changed(kPowerLine, 2));
        settings.remember(changed(kRestart, 1));
    }
    const auto board = plugIn();
    std::string printed;
    EXPECT_EQ(applySaved(board, printed), 3);
    EXPECT_EQ(printed, "");
    const auto writes = board->writes();
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].id, kGainAutomatic);
    EXPECT_EQ(writes[0].value, 0);
    EXPECT_EQ(writes[1].id, kGain);
    EXPECT_EQ(writes[1].value, 70);
    EXPECT_EQ(writes[2].id, kPowerLine);
    EXPECT_EQ(writes[2].value, 2);

    const auto twin = plugIn();
    EXPECT_EQ(applySaved(twin, printed, kTwinBusPath), 0);
    EXPECT_TRUE(twin->writes().empty());

    CameraControlSettings(kCameraName, kTwinBusPath).remember(changed(kBrightness, 10));
    CameraControlSettings(kCameraName, kBusPath).forgetAll();
    const auto afterReset = plugIn();
    EXPECT_EQ(applySaved(afterReset, printed), 0);
    EXPECT_TRUE(afterReset->writes().empty());
    EXPECT_EQ(applySaved(plugIn(), printed, kTwinBusPath), 1);
}

// A control the camera no longer has, a value outside a range that shrank
// and a control that became read-only are never written, each skipped with
// one line naming the camera and the control.
TEST_F(CameraControlSettingsTest, StaleValuesAreSkippedWithALineEach) {
    using namespace sample_controls;
    auto controls = webcamControls();
    CameraControl panTilt =
        control(100, "Pan/Tilt, Speed", platform::ControlKind::Integer, 0, 10, 1, 0);
    {
        CameraControlSettings settings(kCameraName, kBusPath);
        CameraControl widerBrightness = changed(kBrightness, 300);
        widerBrightness.maximum = 511;
        settings.remember(widerBrightness);
        panTilt.value = 4;
        settings.remember(panTilt);
        settings.remember(changed(kSharpness, 7));
        CameraControl firmware = changed(kFirmware, 9);
        firmware.flags = 0;
        settings.remember(firmware);
    }
    std::string printed;
    const auto board = plugIn(controls);
    EXPECT_EQ(applySaved(board, printed), 1);
    ASSERT_EQ(board->writes().size(), 1u);
    EXPECT_EQ(board->writes()[0].id, kSharpness);
    const std::string prefix = std::string("zaredezid: camera \"") + kCameraName + "\": ";
    EXPECT_EQ(printed,
              prefix + "no control \"Pan/Tilt, Speed\" any more; its saved value is skipped\n" +
                  prefix + "Brightness: 300 is out of range 0..255; the saved value is skipped\n" +
                  prefix + "Firmware Version: it is read-only; the saved value is skipped\n");

    controls.push_back(panTilt);
    const auto withPanTilt = plugIn(controls);
    applySaved(withPanTilt, printed);
    EXPECT_EQ(withPanTilt->controls().back().value, 4);
}

} // namespace
