#pragma once

#include "app/tracker/TrackerOptions.h"
#include "capture/Image.h"

#include <QObject>
#include <QString>
#include <QTextStream>
#include <QTimer>

class CsvTracker;
class VideoInputThr;

// Tracks the frames of a source of the capture layer (a video file, the demo
// camera or a camera) as they arrive in the event loop, and ends the loop
// after the requested number of frames, when asked to stop, or when the
// source falls silent.
class DeviceTracker : public QObject {
    Q_OBJECT

public:
    DeviceTracker(VideoInputThr& capture, CsvTracker& tracker, const TrackerOptions& options);

    // Adds the source to the capture layer, finds its device and starts it.
    // On failure error names the source and nothing was started.
    bool start(QString& error);

    // Finds the camera, sets the controls asked with --control and prints
    // one line per control to out, without capturing. On failure error
    // names the source or the control.
    bool listControls(QTextStream& out, QString& error);

    // Why the run failed; empty after a run that ended as asked.
    QString failure() const { return failureText; }

    // The capture thread did not end in time when stopped: the process must
    // not wait for it on its way out.
    bool captureStuck() const { return stuck; }

public slots:
    // Ends the run successfully, keeping the rows written so far.
    void stop();

private slots:
    void receiveFrame(I::Image* frame);
    void reportSilence();

private:
    bool findDevice(int& device, QString& error);
    bool setUpControls(int device, QTextStream* listing, QString& error);
    void finish(int exitCode);

    VideoInputThr& capture;
    CsvTracker& tracker;
    const TrackerOptions options;
    QTimer silenceTimer;
    int framesTracked = 0;
    bool finished = false;
    bool stuck = false;
    QString failureText;
};
