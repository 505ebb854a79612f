#pragma once

#include <QString>
#include <QStringList>

// What the offline tracker was asked to do, read from its command line.
struct TrackerOptions {
    QString inputPath;
    // How often a single image is fed; 0 when the input is a folder.
    int repeat = 0;
    // How many detected lines to print after each frame that ran the detector.
    int lineCount = 0;
    int rollResponse = 12;
    int pitchResponse = 12;
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
