#pragma once

#include "output/UdpSink.h"

#include <QByteArray>

// FlightGear's generic protocol, as packaging/flightgear/zaredezid.xml reads
// it: one text line "aileron,elevator" per update.
class FlightGearSink : public UdpSink {
public:
    FlightGearSink(const QString& host, int port);

    // The line one update sends, newline included.
    static QByteArray lineFor(const CalibratedAttitude& attitude);

private:
    QByteArray payloadFor(const CalibratedAttitude& attitude) const override;
};
