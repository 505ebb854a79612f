#include "TrackerRun.h"
#include "TrackedScene.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TrackerRun track(const QStringList& arguments, int boundMs) {
    QProcess tracker;
    tracker.start(ZAREDEZID_TRACK, arguments);
    return finishTracking(tracker, boundMs);
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

ArmsPose reportedPose(const QStringList& frameRow) {
    return poseOf(frameRow[4].toFloat(), frameRow[5].toFloat(), frameRow[1].toInt(),
                  frameRow[2].toInt());
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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
