#pragma once

#include "output/OutputSink.h"
#include "output/UdpSender.h"

#include <QByteArray>

// FlightGear's generic protocol, as packaging/flightgear/zaredezid.xml reads
// it: one text line "aileron,elevator" per update.
class FlightGearSink : public OutputSink {
public:
    FlightGearSink(const QString& host, int port);

    QString name() const override;
    bool open(QString& error) override;
    bool send(const CalibratedAttitude& attitude, QString& error) override;

    // The line one update sends, newline included.
    static QByteArray lineFor(const CalibratedAttitude& attitude);

private:
    QString host;
    int port;
    UdpSender sender;
};
