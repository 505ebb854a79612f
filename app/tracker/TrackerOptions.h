#pragma once

#include "analysis/EstimatorKind.h"
#include "output/OutputRequest.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

// Where the tracker's frames come from: recorded pictures read by the tracker
// itself, or a source of the capture layer, as the program would see it.
enum class TrackerInput { Pictures, VideoFile, DemoCamera, Camera };

// A camera control to set before the first frame, as --control NAME=VALUE
// gives it.
struct ControlSetting {
    QString name;
    QString value;
};

// What the offline tracker was asked to do, read from its command line.
struct TrackerOptions {
    TrackerInput input = TrackerInput::Pictures;
    // The folder or image of Pictures, or the file of VideoFile.
    QString inputPath;
    // The capture layer's device index of Camera.
    int cameraIndex = -1;
    // How often a single image is fed; 0 when the input is a folder.
    int repeat = 0;
    // Stop after this many frames; 0 to take every frame there is.
    int frameLimit = 0;
    // What the capture layer is asked for; pictures are fed as they are.
    QSize captureSize{320, 240};
    int framesPerSecond = 30;
    // How many detected lines to print after each frame that ran the detector.
    int lineCount = 0;
    int rollResponse = 12;
    int pitchResponse = 12;
    EstimatorKind estimator = EstimatorKind::Precise;
    // Where the calibrated attitude is sent besides the CSV, in the order asked.
    QVector<OutputRequest> outputs;
    // Add the tracking state to each frame's row.
    bool printState = false;
    // Print the camera's controls and end instead of tracking.
    bool listControls = false;
    // Set on the camera in this order, after the values the window saved.
    QVector<ControlSetting> controls;
};

// The outcome of reading the command line: options to run with, or a text for
// standard output (--help) or standard error (a mistake) and an exit code.
struct ParsedCommandLine {
    TrackerOptions options;
    bool run = false;
    QString message;
    int exitCode = 0;
};

ParsedCommandLine parseTrackerCommandLine(const QStringList& arguments);

// How messages name the input, as in "demo camera" or "camera 2".
QString describeInput(const TrackerOptions& options);

// How messages name an output, as it is written on the command line.
QString describeOutput(const OutputRequest& output);
