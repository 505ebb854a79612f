#include "output/UdpSink.h"

#include "output/NetworkEndpoint.h"

#include <optional>

UdpSink::UdpSink(const QString& label, const QString& host, int port)
    : label(label)
    , host(host)
    , port(port) {}

QString UdpSink::name() const {
    return QStringLiteral("%1 to %2:%3").arg(label, host).arg(port);
}

bool UdpSink::open(QString& error) {
    const std::optional<NetworkEndpoint> endpoint = NetworkEndpoint::resolve(host, port, error);
    return endpoint && sender.open(*endpoint, error);
}

bool UdpSink::send(const CalibratedAttitude& attitude, QString& error) {
    return sender.send(payloadFor(attitude), error);
}
