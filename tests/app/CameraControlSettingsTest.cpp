#include "app/CameraControlSettings.h"
#include "capture/platform/fake/FakeCameraControls.h"
#include "capture/platform/fake/FakeControlBoard.h"
#include "tests/support/SampleCameraControls.h"

#include <QCoreApplication>
#include <QSettings>
#include <gtest/gtest.h>

using namespace sample_controls;

namespace {

// Names holding the characters QSettings takes for group separators.
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

    // Plugs the camera in with controls at their defaults and starts it, as
    // a new run would: what it set, and the lines it printed.
    IdsAndValues start(const char* busPath = kBusPath,
                       std::vector<platform::CameraControl> controls = webcamControls()) {
        board = std::make_shared<fake::FakeControlBoard>(busPath, std::move(controls));
        fake::FakeCameraControls opened(board);
        testing::internal::CaptureStderr();
        const int setCount = CameraControlSettings(kCameraName, busPath).apply(opened);
        printed = testing::internal::GetCapturedStderr();
        EXPECT_EQ(size_t(setCount), board->writes().size());
        return idsAndValues(board->writes());
    }

    std::shared_ptr<fake::FakeControlBoard> board;
    std::string printed;
};

// Automatic modes come first, so that the manual gain after them is not
// refused; a button press is not repeated at the next start.
TEST_F(CameraControlSettingsTest, ValuesComeBackAtTheNextStartPerCameraUntilReset) {
    CameraControlSettings settings(kCameraName, kBusPath);
    for (const auto& [id, value] :
         IdsAndValues{{kGain, 70}, {kGainAutomatic, 0}, {kPowerLine, 2}, {kRestart, 1}}) {
        settings.remember(withValue(id, value));
    }
    EXPECT_EQ(start(), (IdsAndValues{{kGainAutomatic, 0}, {kGain, 70}, {kPowerLine, 2}}));
    EXPECT_EQ(printed, "");
    EXPECT_TRUE(start(kTwinBusPath).empty());

    CameraControlSettings(kCameraName, kTwinBusPath).remember(withValue(kBrightness, 10));
    settings.forget({withValue(kGain, 0), withValue(kPowerLine, 0)});
    EXPECT_EQ(start(), (IdsAndValues{{kGainAutomatic, 0}}));
    EXPECT_EQ(start(kTwinBusPath), (IdsAndValues{{kBrightness, 10}}));
}

// A control the camera no longer has, a value outside a range that shrank
// and a control that became read-only are never written, each skipped with
// one line naming the camera and the control.
TEST_F(CameraControlSettingsTest, StaleValuesAreSkippedWithALineEach) {
    CameraControlSettings settings(kCameraName, kBusPath);
    auto panTilt = control(100, "Pan/Tilt, Speed", platform::ControlKind::Integer, 0, 10, 1, 4);
    auto widerBrightness = withValue(kBrightness, 300);
    widerBrightness.maximum = 511;
    auto writableFirmware = withValue(kFirmware, 9);
    writableFirmware.flags = 0;
    for (const auto& remembered :
         {panTilt, widerBrightness, writableFirmware, withValue(kSharpness, 7)}) {
        settings.remember(remembered);
    }
    EXPECT_EQ(start(), (IdsAndValues{{kSharpness, 7}}));
    const std::string prefix = std::string("zaredezid: camera \"") + kCameraName + "\": ";
    EXPECT_EQ(printed,
              prefix + "no control \"Pan/Tilt, Speed\" any more; its saved value is skipped\n" +
                  prefix + "Brightness: 300 is out of range 0..255; the saved value is skipped\n" +
                  prefix + "Firmware Version: it is read-only; the saved value is skipped\n");

    auto controls = webcamControls();
    controls.push_back(panTilt);
    EXPECT_EQ(start(kBusPath, controls).back(), std::make_pair(uint32_t(100), int64_t(4)));
}

} // namespace
