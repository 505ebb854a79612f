#include "app/tracker/TrackerOptions.h"

#include <gtest/gtest.h>

namespace {

ParsedCommandLine parse(QStringList arguments) {
    arguments.prepend("zaredezid-track");
    return parseTrackerCommandLine(arguments);
}

TEST(TrackerOptions, CaptureInputsTakeDefaultsForWhatIsNotGiven) {
    const ParsedCommandLine demo = parse({"--demo"});
    ASSERT_TRUE(demo.run) << demo.message.toStdString();
    EXPECT_EQ(demo.options.input, TrackerInput::DemoCamera);
    EXPECT_EQ(demo.options.captureSize, QSize(320, 240));
    EXPECT_EQ(demo.options.framesPerSecond, 30);
    EXPECT_EQ(demo.options.frameLimit, 0);
    EXPECT_EQ(demo.options.estimator, EstimatorKind::Precise);
    EXPECT_EQ(describeInput(demo.options), "demo camera");

    const ParsedCommandLine video =
        parse({"--video", "clip.mp4", "--frames", "5", "--size", "160x120", "--lines", "2"});
    ASSERT_TRUE(video.run) << video.message.toStdString();
    EXPECT_EQ(video.options.input, TrackerInput::VideoFile);
    EXPECT_EQ(video.options.inputPath, "clip.mp4");
    EXPECT_EQ(video.options.frameLimit, 5);
    EXPECT_EQ(video.options.captureSize, QSize(160, 120));
    EXPECT_EQ(video.options.lineCount, 2);
    EXPECT_EQ(describeInput(video.options), "video file clip.mp4");

    const ParsedCommandLine camera =
        parse({"--camera", "2", "--fps", "15", "--estimator", "classic"});
    ASSERT_TRUE(camera.run) << camera.message.toStdString();
    EXPECT_EQ(camera.options.input, TrackerInput::Camera);
    EXPECT_EQ(camera.options.cameraIndex, 2);
    EXPECT_EQ(camera.options.framesPerSecond, 15);
    EXPECT_EQ(camera.options.estimator, EstimatorKind::Classic);
    EXPECT_EQ(describeInput(camera.options), "camera 2");

    const ParsedCommandLine pictures = parse({"--frames", "3", "--estimator", "precise", "folder"});
    ASSERT_TRUE(pictures.run) << pictures.message.toStdString();
    EXPECT_EQ(pictures.options.input, TrackerInput::Pictures);
    EXPECT_EQ(pictures.options.frameLimit, 3);
    EXPECT_EQ(pictures.options.estimator, EstimatorKind::Precise);
}

TEST(TrackerOptions, RejectsAnythingButOneInputWithSettingsThatFitIt) {
    const QStringList mistakes[] = {
        {},
        {"--demo", "--camera", "0"},
        {"--video", "clip.mp4", "folder"},
        {"--camera", "-1"},
        {"--camera", "first"},
        {"--demo", "--repeat", "3"},
        {"--size", "160x120", "folder"},
        {"--fps", "15", "folder"},
        {"--video", "clip.mp4", "--fps", "15"},
        {"--demo", "--size", "0x240"},
        {"--demo", "--size", "320x"},
        {"--demo", "--size", "320*240"},
        {"--demo", "--size", "5000x240"},
        {"--demo", "--fps", "0"},
        {"--demo", "--fps", "241"},
        {"--demo", "--frames", "0"},
        {"--demo", "--frames", "many"},
        {"--demo", "--estimator", "fastest"},
        {"--demo", "--estimator"},
    };
    for (const QStringList& arguments : mistakes) {
        const ParsedCommandLine result = parse(arguments);
        EXPECT_FALSE(result.run) << arguments.join(' ').toStdString();
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_FALSE(result.message.isEmpty()) << arguments.join(' ').toStdString();
    }
}

TEST(TrackerOptions, HelpDescribesEveryInputOption) {
    const ParsedCommandLine help = parse({"--help"});
    EXPECT_FALSE(help.run);
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option :
         {"--video", "--demo", "--camera", "--frames", "--size", "--fps", "--estimator"}) {
        EXPECT_TRUE(help.message.contains(option)) << option;
    }
}

} // namespace
