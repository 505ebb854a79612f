#pragma once

#include "output/Calibration.h"
#include "output/OutputSink.h"
#include "output/ResponseShaping.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

// Feeds every open output the calibrated and shaped attitude at each update,
// and tells of a failing output once per streak of failures rather than at
// every frame.
// Paused, it holds every output at the centre while the updates go on.
class OutputDispatcher : public QObject {
    Q_OBJECT

public:
    // Opens the sink and keeps it; on failure the sink is dropped and error
    // names it and says why. The result stays valid until removed.
    OutputSink* add(std::unique_ptr<OutputSink> sink, QString& error);
    // Closes the sink (a joystick disappears from the system).
    void remove(OutputSink* sink);
    bool isEmpty() const { return outputs.empty(); }

    void setCalibration(const Calibration& newCalibration) { calibration = newCalibration; }
    const Calibration& currentCalibration() const { return calibration; }
    void setResponse(const ResponseShaping& newResponse) { response = newResponse; }
    const ResponseShaping& currentResponse() const { return response; }

    bool isPaused() const { return paused; }
    // What the outputs were last given, or would have been with none open.
    CalibratedAttitude lastSent() const { return sent; }

public slots:
    // Connected to VideoProcessor::dataUpdate.
    void dataUpdate(float _roll, float _pitch);
    // Pausing gives every output the centre once; nothing more goes out
    // until the pause ends.
    void setPaused(bool pause);
    // Makes the last attitude the centre of both axes, for as long as this
    // calibration is used.
    void centre();

signals:
    // A message for the status bar, also written to standard error.
    void sendFailed(const QString& message);
    void pausedChanged(bool paused);
    // At every update: the calibrated attitude, and what the outputs hold
    // now, shaped, or the centre while paused.
    void responded(const CalibratedAttitude& calibrated, const CalibratedAttitude& output);

private:
    struct Output {
        std::unique_ptr<OutputSink> sink;
        bool failing = false;
        int sendsSinceFailure = 0;
    };

    void send(Output& output, const CalibratedAttitude& attitude);
    void report(Output& output, const QString& reason);

    Calibration calibration;
    ResponseShaping response;
    std::vector<Output> outputs;
    bool paused = false;
    CalibratedAttitude sent;
    // The estimator's level attitude until the first update.
    float lastRoll = 127.5f;
    float lastPitch = 0;
};
