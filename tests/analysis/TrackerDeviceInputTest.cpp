#include "TrackerRun.h"
#include "tests/support/VideoClipRecorder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Long enough for GStreamer to build its plugin registry on a first run.
constexpr int kFirstRowsBoundMs = 60000;
// Bounds a run whose source never delivers: the tracker's own limit on
// waiting for a frame, with room to start and stop.
constexpr int kSilentSourceBoundMs = 30000;

void expectFrameRows(const TrackerRun& run, int count, int width, int height) {
    ASSERT_EQ(run.frameRows.size(), count) << run.errors.toStdString();
    for (int frame = 0; frame < count; ++frame) {
        const QStringList& row = run.frameRows[frame];
        ASSERT_EQ(row.size(), 6) << row.join(',').toStdString();
        EXPECT_EQ(row[0], QString::number(frame));
        EXPECT_EQ(row[1], QString::number(width));
        EXPECT_EQ(row[2], QString::number(height));
    }
}

class DeviceInputTracker : public ::testing::Test {
protected:
    QTemporaryDir folder;
};

TEST_F(DeviceInputTracker, DemoCameraGivesTheRequestedFramesAtTheRequestedSize) {
    const TrackerRun run = track({"--demo", "--frames", "12", "--size", "160x120", "--fps", "30"});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    // The capture layer's own lines go with the messages, never among the rows.
    expectFrameRows(run, 12, 160, 120);
    EXPECT_TRUE(run.errors.contains("Demo camera"));
    // The demo person moves, so the estimate is updated.
    EXPECT_EQ(run.frameRows.last()[3], "1");
}

TEST_F(DeviceInputTracker, RecordedVideoIsTrackedLikeItsPictures) {
    const ArmsPose pose{100.0, -20.0};
    ASSERT_TRUE(recordFlapping(folder.path(), 320, 240, pose, 60));
    const QString clip = folder.filePath("arms.avi");
    ASSERT_TRUE(clip_recorder::recordPictureClip(folder.filePath("frame%04d.png"), 30, clip,
                                                 "jpegenc quality=95 ! avimux"));

    // More frames than the clip holds: the replay starts over.
    const TrackerRun run = track({"--video", clip, "--frames", "90"});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    expectFrameRows(run, 90, 320, 240);
    // The tolerances of the picture sequences, one degree of tilt and two
    // pixels of height, with room for the compression's blur.
    const ArmsPose reported = reportedPose(run.frameRows.last());
    EXPECT_NEAR(reported.angleDegrees, pose.angleDegrees, 1.5);
    EXPECT_NEAR(reported.offset, pose.offset, 3.0);
}

TEST_F(DeviceInputTracker, TerminationEndsACameraRunWithCompleteRows) {
    QProcess tracker;
    tracker.start(ZAREDEZID_TRACK, {"--demo", "--size", "160x120"});
    // The header and at least three rows.
    while (tracker.peek(tracker.bytesAvailable()).count('\n') < 4) {
        ASSERT_TRUE(tracker.waitForReadyRead(kFirstRowsBoundMs));
    }
    tracker.terminate();
    const TrackerRun run = finishTracking(tracker);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    for (const QStringList& row : run.frameRows) {
        EXPECT_EQ(row.size(), 6) << row.join(',').toStdString();
    }
}

// A source that cannot deliver ends the run instead of leaving it waiting for
// frames.
TEST_F(DeviceInputTracker, SourcesThatCannotDeliverFailNamingTheSource) {
    const QString missing = folder.filePath("missing.avi");
    const QString garbage = folder.filePath("garbage.avi");
    ASSERT_TRUE(writeFile(garbage, QByteArray(4096, 'x')));
    const struct {
        QStringList arguments;
        QString named;
    } sources[] = {{{"--video", missing, "--frames", "5"}, missing},
                   {{"--camera", "7", "--frames", "5"}, "camera 7"},
                   {{"--video", garbage}, "zaredezid-track: video file " + garbage}};
    for (const auto& source : sources) {
        const TrackerRun run = track(source.arguments, kSilentSourceBoundMs);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_TRUE(run.errors.contains(source.named)) << run.errors.toStdString();
        EXPECT_TRUE(run.frameRows.isEmpty());
    }
}

} // namespace
