#pragma once

#include "SyntheticPictures.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVector>

// The offline tracker run as a child process, the way users run it, and what
// it printed.
struct TrackerRun {
    int exitCode = -1;
    QString errors;
    QVector<QStringList> frameRows;
    QVector<QStringList> lineRows;
};

constexpr int kTrackerBoundMs = 120000;

// Runs the tracker to its end; a run that does not end within the bound
// counts as a failure.
TrackerRun track(const QStringList& arguments, int boundMs = kTrackerBoundMs);

// Collects what a started tracker prints until it ends, at most boundMs
// later; a run that does not end by then counts as a failure.
TrackerRun finishTracking(QProcess& tracker, int boundMs = kTrackerBoundMs);

// The line of the arms that a frame row's roll and pitch stand for.
ArmsPose reportedPose(const QStringList& frameRow);

bool writeFile(const QString& path, const QByteArray& bytes);

// Arms flapping a few pixels above and below the pose, so that every frame
// shows new edges along them, saved in folder as frame0000.png, frame0001.png...
bool recordFlapping(const QString& folder, int width, int height, const ArmsPose& pose, int frames);
