#pragma once

#include "output/OutputSink.h"
#include "output/UdpSender.h"

#include <QByteArray>

// An output that sends each update as one datagram to a host and port; the
// kinds differ only in what they call themselves and in the bytes they send.
class UdpSink : public OutputSink {
public:
    QString name() const override;
    bool open(QString& error) override;
    bool send(const CalibratedAttitude& attitude, QString& error) override;

protected:
    // label names the receiving program, as in "opentrack UDP".
    UdpSink(const QString& label, const QString& host, int port);

    virtual QByteArray payloadFor(const CalibratedAttitude& attitude) const = 0;

private:
    QString label;
    QString host;
    int port;
    UdpSender sender;
};
