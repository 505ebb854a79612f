#pragma once

#include "analysis/TrackingState.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <QTimer>

#include <optional>
#include <vector>

class QLabel;

// What the status bar says: the source in use, whether the arms are tracked,
// how fast its frames arrive, the median delay from a frame's capture to the
// outputs' send and how long each frame takes to analyse, or that capture is
// stopped and why;
// then whether the outputs are paused, and which are on. Frames are only
// counted as they come, so the cost per frame is an addition; the text is
// made once a second.
class StatusBarReport : public QObject {
    Q_OBJECT

public:
    explicit StatusBarReport(QLabel& label, QObject* parent = nullptr);

public slots:
    // An empty size: the source could not be opened.
    void captureStarted(const QString& name, const QSize& size, int framesPerSecond);
    void captureStopped();
    void sourceEnded(const QString& why);
    void sourceUnplugged();
    void frameAnalysed(qint64 nanoseconds);
    void outputDelay(qint64 nanoseconds);
    void setTracking(TrackingState state);
    void setOutputs(const QStringList& names);
    void setPaused(bool paused);
    // The source that was added because no camera was found; while it runs
    // the status bar says so instead of naming it.
    void setDemoInPlaceOfCamera(const QString& name);

private slots:
    void measure();

private:
    void stop(const QString& why);
    void show();
    QString sourceText() const;

    QLabel& label;
    QTimer measuring;
    bool running = false;
    QString sourceName;
    QString demoInPlaceOfCamera;
    QSize frameSize;
    int sourceRate = 0;
    QString stopReason;
    // Unknown until the first frame of a run is analysed.
    std::optional<TrackingState> tracking;
    QStringList outputs;
    bool outputsPaused = false;
    // Gathered since the last measurement.
    QElapsedTimer sinceMeasured;
    int framesReceived = 0;
    qint64 analysisNanoseconds = 0;
    std::vector<qint64> outputDelays;
    // The last measurement as shown; empty until the first after a start.
    QString measured;
};
