#include "TrackerRun.h"

#include <QDir>

#include <gtest/gtest.h>

TrackerRun track(const QStringList& arguments) {
    QProcess tracker;
    tracker.start(ZAREDEZID_TRACK, arguments);
    return finishTracking(tracker);
}

TrackerRun finishTracking(QProcess& tracker, int boundMs) {
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
        EXPECT_EQ(rows.first(), "frame,width,height,updated,roll,pitch");
    }
    return run;
}

float expectedRoll(const ArmsPose& pose, int width) {
    return float((pose.angleDegrees - 90) * 255 / (width / 2) + 127.5);
}

float expectedPitch(const ArmsPose& pose, int height) {
    return float(127.5 * pose.offset / height);
}

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
