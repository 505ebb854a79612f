#pragma once

#include "output/UdpSink.h"

#include <QByteArray>

// opentrack's "UDP over network" input: six little-endian doubles per update,
// x, y, z, yaw, pitch and roll, of which only pitch and roll move.
class OpentrackSink : public UdpSink {
public:
    OpentrackSink(const QString& host, int port);

    // The 48 bytes one update sends.
    static QByteArray datagramFor(const CalibratedAttitude& attitude);

private:
    QByteArray payloadFor(const CalibratedAttitude& attitude) const override;
};
