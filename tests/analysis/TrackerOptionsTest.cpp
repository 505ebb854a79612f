#include "app/tracker/TrackerOptions.h"
#include "app/CameraControlSettings.h"
#include "app/tracker/CameraControlOptions.h"
#include "capture/CameraControlText.h"
#include "capture/platform/fake/FakeCameraControls.h"
#include "capture/platform/fake/FakeControlBoard.h"
#include "tests/support/SampleCameraControls.h"

#include <gtest/gtest.h>

namespace {

// Reads a command line written as it is typed, words split at spaces.
ParsedCommandLine parse(const QString& commandLine) {
    return parseTrackerCommandLine(
        ("zaredezid-track " + commandLine).split(' ', Qt::SkipEmptyParts));
}

// What a run was asked to do, in one line that a failure shows whole.
QString summary(const TrackerOptions& options) {
    return QString("%1, %2x%3 at %4, %5 frames, %6 lines, %7")
        .arg(describeInput(options))
        .arg(options.captureSize.width())
        .arg(options.captureSize.height())
        .arg(options.framesPerSecond)
        .arg(options.frameLimit)
        .arg(options.lineCount)
        .arg(estimatorKindName(options.estimator));
}

TEST(TrackerOptions, EachInputTakesDefaultsForWhatIsNotGiven) {
    const struct {
        const char* commandLine;
        TrackerInput input;
        const char* summary;
    } cases[] = {
        {"--demo", TrackerInput::DemoCamera,
         "demo camera, 320x240 at 30, 0 frames, 0 lines, precise"},
        {"--video clip.mp4 --frames 5 --size 160x120 --lines 2", TrackerInput::VideoFile,
         "video file clip.mp4, 160x120 at 30, 5 frames, 2 lines, precise"},
        {"--camera 2 --fps 15 --estimator classic", TrackerInput::Camera,
         "camera 2, 320x240 at 15, 0 frames, 0 lines, classic"},
        {"--frames 3 --estimator precise folder", TrackerInput::Pictures,
         "folder, 320x240 at 30, 3 frames, 0 lines, precise"},
    };
    for (const auto& c : cases) {
        const ParsedCommandLine parsed = parse(c.commandLine);
        ASSERT_TRUE(parsed.run) << parsed.message.toStdString();
        EXPECT_EQ(parsed.options.input, c.input);
        EXPECT_EQ(summary(parsed.options), c.summary);
    }
}

TEST(TrackerOptions, RejectsAnythingButOneInputWithSettingsThatFitIt) {
    for (const char* mistake : {"",
                                "--demo --camera 0",
                                "--video clip.mp4 folder",
                                "--camera -1",
                                "--camera first",
                                "--demo --repeat 3",
                                "--size 160x120 folder",
                                "--fps 15 folder",
                                "--video clip.mp4 --fps 15",
                                "--demo --size 0x240",
                                "--demo --size 320x",
                                "--demo --size 320*240",
                                "--demo --size 5000x240",
                                "--demo --fps 0",
                                "--demo --fps 241",
                                "--demo --frames 0",
                                "--demo --frames many",
                                "--demo --estimator fastest",
                                "--demo --estimator",
                                "--list-controls folder",
                                "--control brightness=1 folder",
                                "--camera 0 --control brightness",
                                "--camera 0 --control =5"}) {
        const ParsedCommandLine result = parse(mistake);
        EXPECT_FALSE(result.run) << mistake;
        EXPECT_EQ(result.exitCode, 2) << mistake;
        EXPECT_FALSE(result.message.isEmpty()) << mistake;
    }
}

// A camera that refuses every value, as one does that is busy elsewhere.
class RefusingControls : public fake::FakeCameraControls {
public:
    using FakeCameraControls::FakeCameraControls;
    platform::Status write(const platform::CameraControl&) override {
        return platform::kInvalidArgument;
    }
};

// --control values are set in the order given, after the ones the window
// remembered for the camera, and are not remembered themselves; the first
// one that cannot be set ends the setting with a message naming it, and
// nothing after it is set.
TEST(TrackerOptions, ControlsAreSetAfterTheRememberedOnesOrNameWhatFailed) {
    using namespace sample_controls;
    const TrackerOptions parsed =
        parse("--camera 1 --list-controls --control Label=a=b --control gain=7").options;
    EXPECT_TRUE(parsed.listControls);
    ASSERT_EQ(parsed.controls.size(), 2);
    EXPECT_EQ(parsed.controls[0].name + '|' + parsed.controls[0].value + '|' +
                  parsed.controls[1].name,
              "Label|a=b|gain");

    CameraControlSettings("Cam", "usb-1").remember(withValue(kBrightness, 50));
    auto board = std::make_shared<fake::FakeControlBoard>("usb-1", webcamControls());
    CameraControlOptions options(std::make_unique<fake::FakeCameraControls>(board), "Cam");
    QString error;
    ASSERT_TRUE(options.apply({{"power_line_frequency", "60 Hz"}, {"BRIGHTNESS", "200"}}, error))
        << error.toStdString();
    EXPECT_EQ(idsAndValues(board->writes()),
              (IdsAndValues{{kBrightness, 50}, {kPowerLine, 2}, {kBrightness, 200}}));
    QString listing;
    QTextStream out(&listing);
    ASSERT_TRUE(options.list(out, error));
    EXPECT_EQ(listing.count('\n'), int(webcamControls().size()));
    EXPECT_TRUE(listing.startsWith("Brightness  int  0..255 step 1  default 128  value 200\n"));

    board = std::make_shared<fake::FakeControlBoard>("usb-1", webcamControls());
    CameraControlOptions restarted(std::make_unique<fake::FakeCameraControls>(board), "Cam");
    for (const auto& [setting, message] : std::vector<std::pair<ControlSetting, const char*>>{
             {{"Brihtness", "1"}, "camera control \"Brihtness\" not found (see --list-controls)"},
             {{"brightness", "300"}, "Brightness: 300 is out of range 0..255"}}) {
        EXPECT_FALSE(restarted.apply({setting, {"sharpness", "3"}}, error));
        EXPECT_EQ(error.toStdString(), message);
    }
    EXPECT_EQ(idsAndValues(board->writes()), (IdsAndValues{{kBrightness, 50}, {kBrightness, 50}}));
    CameraControlOptions refusing(std::make_unique<RefusingControls>(board), "Other");
    EXPECT_FALSE(refusing.apply({{"Gain", "30"}}, error));
    EXPECT_EQ(error.toStdString(), "Gain: the camera refused the value \"30\"");
}

} // namespace
