#pragma once

#include "analysis/VideoProcessor.h"
#include "app/tracker/TrackerOptions.h"

#include <QTextStream>

#include <memory>
#include <optional>

class OutputDispatcher;

// Feeds frames to the estimator the program itself uses and writes one CSV
// row per frame, plus the detected lines when asked for.
class CsvTracker : public QObject {
    Q_OBJECT

public:
    CsvTracker(const TrackerOptions& options, QTextStream& out);

    void writeHeader();
    // Every attitude the estimator emits goes to the outputs too.
    void connectOutputs(OutputDispatcher& outputs);
    void track(std::unique_ptr<I::Image> frame);
    void flush() { out.flush(); }
    const VideoProcessor& analysis() const { return processor; }

private slots:
    void rememberAttitude(float _roll, float _pitch);
    void rememberOutputDelay(qint64 nanoseconds);

private:
    void writeLines(int frameIndex);

    QTextStream& out;
    VideoProcessor processor;
    int lineCount;
    bool printState;
    int frameIndex = 0;
    bool updatedThisFrame = false;
    std::optional<qint64> outputDelayThisFrame;
    bool anyUpdate = false;
    float lastRoll = 0;
    float lastPitch = 0;
};
