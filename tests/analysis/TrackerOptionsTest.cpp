#include "app/tracker/TrackerOptions.h"

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
    for (const char* mistake :
         {"", "--demo --camera 0", "--video clip.mp4 folder", "--camera -1", "--camera first",
          "--demo --repeat 3", "--size 160x120 folder", "--fps 15 folder",
          "--video clip.mp4 --fps 15", "--demo --size 0x240", "--demo --size 320x",
          "--demo --size 320*240", "--demo --size 5000x240", "--demo --fps 0", "--demo --fps 241",
          "--demo --frames 0", "--demo --frames many", "--demo --estimator fastest",
          "--demo --estimator"}) {
        const ParsedCommandLine result = parse(mistake);
        EXPECT_FALSE(result.run) << mistake;
        EXPECT_EQ(result.exitCode, 2) << mistake;
        EXPECT_FALSE(result.message.isEmpty()) << mistake;
    }
}

TEST(TrackerOptions, HelpDescribesEveryInputOptionAndEndsTheRunWell) {
    const ParsedCommandLine help = parse("--help");
    EXPECT_FALSE(help.run);
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option :
         {"--video", "--demo", "--camera", "--frames", "--size", "--fps", "--estimator"}) {
        EXPECT_TRUE(help.message.contains(option)) << option;
    }
}

} // namespace
