#pragma once

#include "output/Calibration.h"
#include "output/OutputSink.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

// Feeds every open output the calibrated attitude at each update, and tells
// of a failing output once per streak of failures rather than at every frame.
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

public slots:
    // Connected to VideoProcessor::dataUpdate.
    void dataUpdate(float _roll, float _pitch);

signals:
    // A message for the status bar, also written to standard error.
    void sendFailed(const QString& message);

private:
    struct Output {
        std::unique_ptr<OutputSink> sink;
        bool failing = false;
        int sendsSinceFailure = 0;
    };

    void report(Output& output, const QString& reason);

    Calibration calibration;
    std::vector<Output> outputs;
};
