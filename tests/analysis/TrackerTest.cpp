#include "TrackedScene.h"
#include "tests/support/VideoClipRecorder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The offline tracker run as a child process, the way users run it, on
// pictures, recorded videos and the capture layer's sources.
namespace {

constexpr int kTrackerBoundMs = 120000;
// Long enough for GStreamer to build its plugin registry on a first run.
constexpr int kFirstRowsBoundMs = 60000;
// Bounds a run whose source never delivers: the tracker's own limit on
// waiting for a frame, with room to start and stop.
constexpr int kSilentSourceBoundMs = 30000;

// What a run printed.
struct TrackerRun {
    int exitCode = -1;
    QString errors;
    QString header;
    QVector<QStringList> frameRows;
    QVector<QStringList> lineRows;
};

// Collects what a started tracker prints until it ends, at most boundMs
// later; a run that does not end by then counts as a failure.
TrackerRun finishTracking(QProcess& tracker, int boundMs = kTrackerBoundMs) {
    EXPECT_TRUE(tracker.waitForFinished(boundMs));
    TrackerRun run;
    run.exitCode = tracker.exitStatus() == QProcess::NormalExit ? tracker.exitCode() : -1;
    run.errors = QString::fromLocal8Bit(tracker.readAllStandardError());
    const QStringList rows =
        QString::fromLocal8Bit(tracker.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    for (int i = 1; i < rows.size(); ++i) {
        const QStringList fields = rows[i].split(',');
        (fields.first() == "lines" ? run.lineRows : run.frameRows).append(fields);
    }
    if (!rows.isEmpty()) {
        run.header = rows.first();
        EXPECT_TRUE(run.header.startsWith("frame,width,height,updated,roll,pitch"));
    }
    return run;
}

TrackerRun track(const QStringList& arguments, int boundMs = kTrackerBoundMs) {
    QProcess tracker;
    tracker.start(ZAREDEZID_TRACK, arguments);
    return finishTracking(tracker, boundMs);
}

// The line of the arms that a frame row's roll and pitch stand for.
ArmsPose reportedPose(const QStringList& frameRow) {
    return poseOf(frameRow[4].toFloat(), frameRow[5].toFloat(), frameRow[1].toInt(),
                  frameRow[2].toInt());
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Arms flapping a few pixels above and below the pose, so that every frame
// shows new edges along them, saved in folder as frame0000.png, frame0001.png...
bool recordFlapping(const QString& folder, int width, int height, const ArmsPose& pose,
                    int frames) {
    constexpr double kFlap = 3.0;
    const QDir directory(folder);
    for (int frame = 0; frame < frames; ++frame) {
        const double offset = pose.offset + (frame % 2 ? kFlap : -kFlap);
        const QString name = QString("frame%1.png").arg(frame, 4, 10, QChar('0'));
        if (!armsFigure(width, height, {pose.angleDegrees, offset})
                 .save(directory.filePath(name))) {
            return false;
        }
    }
    return true;
}

class OfflineTracker : public ::testing::Test {
protected:
    QTemporaryDir folder;
};

TEST_F(OfflineTracker, RepeatsOneImageAndListsTheDetectedLines) {
    const QString image = folder.filePath("still.png");
    ASSERT_TRUE(armsFigure(160, 120, {90.0, 0.0}).save(image));
    const TrackerRun run = track({"--repeat", "4", "--lines", "3", image});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    ASSERT_EQ(run.frameRows.size(), 4);
    EXPECT_EQ(run.frameRows[0], QStringList({"0", "160", "120", "0", "", ""}));
    EXPECT_EQ(run.frameRows[1][3], "1");
    // Only the second frame sees new edges; the still picture changes nothing
    // after that, yet the estimate keeps moving toward the last detection.
    ASSERT_EQ(run.lineRows.size(), 3);
    EXPECT_EQ(run.lineRows[0].mid(1, 2), QStringList({"1", "0"}));
    EXPECT_EQ(run.frameRows[3][3], "1");

    // Pictures were never captured: the second frame sends an attitude, but
    // has no delay to tell.
    const TrackerRun limited = track({"--repeat", "4", "--frames", "2", "--state", image});
    ASSERT_EQ(limited.frameRows.size(), 2);
    ASSERT_EQ(limited.frameRows[1].size(), 8);
    EXPECT_EQ(limited.frameRows[1][3], "1");
    EXPECT_EQ(limited.frameRows[1][7], "");
}

// An input that cannot be read, or is too large to read, fails the run with a
// message naming it, after the frames read before it; a source that cannot
// deliver ends the run instead of leaving it waiting for frames. Command lines
// that make no sense fail too, naming what is wrong.
TEST_F(OfflineTracker, UnreadableInputsFailNamingThem) {
    const QDir root(folder.path());
    ASSERT_TRUE(root.mkpath("sizes") && root.mkpath("broken"));
    ASSERT_TRUE(recordFlapping(root.filePath("sizes"), 160, 120, {90.0, 0.0}, 1));
    ASSERT_TRUE(armsFigure(160, 100, {90.0, 0.0}).save(root.filePath("sizes/frame0001.png")));
    const QString brokenPicture = root.filePath("broken/frame0000.png");
    ASSERT_TRUE(writeFile(brokenPicture, "not a picture"));
    const QString garbageVideo = root.filePath("garbage.avi");
    ASSERT_TRUE(writeFile(garbageVideo, QByteArray(4096, 'x')));
    // A header announcing 20000 x 20000 pixels, a few dozen bytes that would
    // take gigabytes to decode: start of image; a frame of 8-bit samples,
    // 0x4e20 rows and columns, one component; a scan of it cut short after one
    // byte; end of image. Reading the size stops before the scan.
    const QString hugePicture = root.filePath("huge.jpg");
    ASSERT_TRUE(writeFile(hugePicture, QByteArray::fromHex("ffd8 ffc0000b084e204e2001011100 "
                                                           "ffda000801010000 3f00 00ffd9")));
    const QString missing = root.filePath("missing");
    const struct {
        QStringList arguments;
        QString named;
        int frames;
    } inputs[] = {
        {{missing}, missing, 0},
        {{root.filePath("sizes")}, "frame0001.png", 1},
        {{root.filePath("broken")}, "frame0000.png", 0},
        {{hugePicture}, hugePicture + ": the picture is 20000x20000", 0},
        {{"--video", missing, "--frames", "5"}, missing, 0},
        {{"--camera", "7", "--frames", "5"}, "camera 7", 0},
        {{"--demo", "--list-controls"}, "demo camera has no controls", 0},
        {{"--video", garbageVideo}, "zaredezid-track: video file " + garbageVideo, 0},
        {{"--responses", "12", root.filePath("sizes")}, "--responses", 0},
        {{"--repeat", "0", brokenPicture}, "--repeat", 0},
        {{"--repeat", "2", root.filePath("sizes")}, "a single image, not a folder", 0},
    };
    for (const auto& input : inputs) {
        const TrackerRun run = track(input.arguments, kSilentSourceBoundMs);
        EXPECT_NE(run.exitCode, 0) << input.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.errors.contains(input.named)) << run.errors.toStdString();
        EXPECT_EQ(run.frameRows.size(), input.frames) << input.arguments.join(' ').toStdString();
    }
}

void expectFrameRows(const TrackerRun& run, int count, int width, int height) {
    ASSERT_EQ(run.frameRows.size(), count) << run.errors.toStdString();
    for (int frame = 0; frame < count; ++frame) {
        const QStringList& row = run.frameRows[frame];
        ASSERT_EQ(row.size(), run.header.count(',') + 1) << row.join(',').toStdString();
        EXPECT_EQ(row[0], QString::number(frame));
        EXPECT_EQ(row[1], QString::number(width));
        EXPECT_EQ(row[2], QString::number(height));
    }
}

using DeviceInputTracker = OfflineTracker;

// Within a degree of tilt and two pixels of height from the pictures: the
// edge bands of tilted arms break up into short zigzag clusters that pull the
// estimate a little. Their video leaves room for the compression's blur.
TEST_F(OfflineTracker, PicturesAndTheirVideoConvergeToTheAttitudeOfTheArms) {
    const ArmsPose pose{100.0, -20.0};
    ASSERT_TRUE(recordFlapping(folder.path(), 320, 240, pose, 90));
    const TrackerRun pictures = track({folder.path()});
    ASSERT_EQ(pictures.exitCode, 0) << pictures.errors.toStdString();
    EXPECT_EQ(pictures.header, "frame,width,height,updated,roll,pitch");
    expectFrameRows(pictures, 90, 320, 240);
    ArmsPose reported = reportedPose(pictures.frameRows.last());
    EXPECT_NEAR(reported.angleDegrees, pose.angleDegrees, 1.0);
    EXPECT_NEAR(reported.offset, pose.offset, 2.0);

    const QString clip = folder.filePath("arms.avi");
    ASSERT_TRUE(clip_recorder::recordPictureClip(folder.filePath("frame%04d.png"), 30, clip,
                                                 "jpegenc quality=95 ! avimux"));
    // More frames than the clip holds: the replay starts over. The arms are
    // searched for until found, then tracked.
    const TrackerRun video = track({"--video", clip, "--frames", "120", "--state"});
    EXPECT_EQ(video.exitCode, 0) << video.errors.toStdString();
    EXPECT_EQ(video.header, "frame,width,height,updated,roll,pitch,state,delay_ms");
    expectFrameRows(video, 120, 320, 240);
    EXPECT_EQ(video.frameRows.first()[6], "searching");
    EXPECT_EQ(video.frameRows.last()[6], "tracking");
    // Replayed frames are timed from their arrival in the capture layer, and
    // only a frame that sent an attitude has a delay.
    for (const QStringList& row : video.frameRows) {
        bool hasDelay = false;
        const double delayMs = row.value(7).toDouble(&hasDelay);
        EXPECT_EQ(hasDelay, row[3] == "1") << row.join(',').toStdString();
        EXPECT_TRUE(!hasDelay || (delayMs >= 0.0 && delayMs < 1000.0)) << delayMs;
    }
    reported = reportedPose(video.frameRows.last());
    EXPECT_NEAR(reported.angleDegrees, pose.angleDegrees, 1.5);
    EXPECT_NEAR(reported.offset, pose.offset, 3.0);
}

// A camera run goes on until it is ended; a termination signal ends it with
// whole rows. The number of frames a camera run can be limited to is checked
// with the tracker's outputs.
TEST_F(DeviceInputTracker, DemoCameraRunsAtTheRequestedSizeUntilTerminated) {
    QProcess tracker;
    tracker.start(ZAREDEZID_TRACK, {"--demo", "--size", "160x120", "--fps", "30"});
    // The header and at least four rows.
    while (tracker.peek(tracker.bytesAvailable()).count('\n') < 5) {
        ASSERT_TRUE(tracker.waitForReadyRead(kFirstRowsBoundMs));
    }
    tracker.terminate();
    const TrackerRun run = finishTracking(tracker);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_GE(run.frameRows.size(), 4);
    // The capture layer's own lines go with the messages, never among the rows.
    expectFrameRows(run, run.frameRows.size(), 160, 120);
    EXPECT_TRUE(run.errors.contains("Demo camera"));
    // The demo person moves, so the estimate is updated.
    EXPECT_EQ(run.frameRows.last()[3], "1");
}

} // namespace
