#pragma once

#include <QHostAddress>
#include <QString>

#include <optional>

// A host and port the network outputs may send to, checked in one place for
// the window's dialog and the tracker's command line alike.
class NetworkEndpoint {
public:
    // Refuses, with a message, a port outside 1 to 65535 and a host that does
    // not resolve. Numeric addresses and "localhost" resolve at once; a name
    // lookup is given up after a short bound instead of hanging the caller.
    static std::optional<NetworkEndpoint> resolve(const QString& host, int port, QString& error);

    QHostAddress address() const { return hostAddress; }
    quint16 port() const { return portNumber; }

private:
    NetworkEndpoint(const QHostAddress& address, quint16 port);

    QHostAddress hostAddress;
    quint16 portNumber;
};
