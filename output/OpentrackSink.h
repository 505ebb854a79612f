#pragma once

#include "output/OutputSink.h"
#include "output/UdpSender.h"

#include <QByteArray>

// opentrack's "UDP over network" input: six little-endian doubles per update,
// x, y, z, yaw, pitch and roll, of which only pitch and roll move.
class OpentrackSink : public OutputSink {
public:
    OpentrackSink(const QString& host, int port);

    QString name() const override;
    bool open(QString& error) override;
    bool send(const CalibratedAttitude& attitude, QString& error) override;

    // The 48 bytes one update sends.
    static QByteArray datagramFor(const CalibratedAttitude& attitude);

private:
    QString host;
    int port;
    UdpSender sender;
};
