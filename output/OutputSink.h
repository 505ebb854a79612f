#pragma once

#include "output/CalibratedAttitude.h"

#include <QString>

// Somewhere the calibrated attitude goes at every update: a virtual joystick
// or a program listening on the network. A sink is opened once, then sent one
// pair per update; it is closed when destroyed.
class OutputSink {
public:
    virtual ~OutputSink() = default;

    // How messages name this output, as in "opentrack UDP to 127.0.0.1:4242".
    virtual QString name() const = 0;

    // On failure error says why and, where the user can fix it, how.
    virtual bool open(QString& error) = 0;

    // Delivers one update without blocking; on failure error says why. A
    // failed update is lost, the next one is tried as usual.
    virtual bool send(const CalibratedAttitude& attitude, QString& error) = 0;
};
