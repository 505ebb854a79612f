#include "tests/support/VividCamera.h"

#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

// The tracker on the kernel's virtual camera: it lists the camera's own
// controls and sets them as v4l2-ctl then reads them.
namespace {

constexpr int kBoundMs = 120000;

struct ProgramRun {
    int exitCode = -1;
    QString output;
    QString errors;
};

ProgramRun run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(kBoundMs)) << program.toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

TEST(VividTracker, ListsAndSetsTheCamerasOwnControls) {
    const vivid::Node vivid = vivid::find();
    SKIP_UNLESS_VIVID_PRESENT(vivid);
    const ProgramRun listing = run(ZAREDEZID_TRACK, {"--camera", "0", "--list-controls"});
    ASSERT_EQ(listing.exitCode, 0) << listing.errors.toStdString();
    // The platform's own case compares every control with v4l2-ctl; here the
    // tracker prints them, one line each.
    EXPECT_TRUE(listing.output.contains(
        QRegularExpression("^Brightness  int  0..255 step 1  default 128  value \\d+$",
                           QRegularExpression::MultilineOption)))
        << listing.output.toStdString();

    const ProgramRun set =
        run(ZAREDEZID_TRACK, {"--camera", "0", "--control", "brightness=77", "--frames", "3"});
    EXPECT_EQ(set.exitCode, 0) << set.errors.toStdString();
    EXPECT_EQ(run("v4l2-ctl", {"-d", vivid.path, "--get-ctrl", "brightness"}).output.trimmed(),
              "brightness: 77");

    const ProgramRun refused =
        run(ZAREDEZID_TRACK, {"--camera", "0", "--control", "Brightness=300"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.errors.contains("Brightness")) << refused.errors.toStdString();
    EXPECT_EQ(run("v4l2-ctl", {"-d", vivid.path, "--get-ctrl", "brightness"}).output.trimmed(),
              "brightness: 77");

    // Each row's delay runs from the frame's capture, on the driver's clock
    // turned into this machine's monotonic one, to the outputs' send: a clock
    // taken wrongly gives an age of hours, or a negative one. The median must
    // stay under one frame period, so each frame is handed on before the next
    // one is captured. vivid stamps its frames at the end of their exposure
    // by default, which it places nine tenths of a period after it hands the
    // frame over; GStreamer refuses such stamps from the future and dates the
    // frame a whole period back instead. Stamped at the start of exposure, as
    // webcams stamp theirs, the frames keep their own time. The classic
    // estimator sends an attitude on most frames.
    ASSERT_EQ(run("v4l2-ctl", {"-d", vivid.path, "--set-ctrl", "timestamp_source=1"}).exitCode, 0);
    constexpr int kFramesPerSecond = 30;
    constexpr double kFramePeriodMs = 1000.0 / kFramesPerSecond;
    const ProgramRun timed =
        run(ZAREDEZID_TRACK, {"--camera", "0", "--fps", QString::number(kFramesPerSecond),
                              "--estimator", "classic", "--state", "--frames", "120"});
    run("v4l2-ctl", {"-d", vivid.path, "--set-ctrl", "timestamp_source=0"});
    ASSERT_EQ(timed.exitCode, 0) << timed.errors.toStdString();
    ASSERT_FALSE((timed.output + timed.errors).contains("not offered"))
        << timed.errors.toStdString();
    std::vector<double> delaysMs;
    for (const QString& row : timed.output.split('\n', Qt::SkipEmptyParts).mid(1)) {
        bool hasDelay = false;
        const double delayMs = row.section(',', 7, 7).toDouble(&hasDelay);
        if (hasDelay)
            delaysMs.push_back(delayMs);
    }
    ASSERT_GE(delaysMs.size(), 10u) << timed.output.toStdString();
    std::nth_element(delaysMs.begin(), delaysMs.begin() + delaysMs.size() / 2, delaysMs.end());
    EXPECT_GE(delaysMs[delaysMs.size() / 2], 0.0);
    EXPECT_LT(delaysMs[delaysMs.size() / 2], kFramePeriodMs);
}

} // namespace
