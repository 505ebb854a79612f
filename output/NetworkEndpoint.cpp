#include "output/NetworkEndpoint.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QHostInfo>
#include <QTimer>

namespace {

constexpr int kLowestPort = 1;
constexpr int kHighestPort = 65535;
// Long enough for a resolver on the local network, short enough that a
// mistyped name does not freeze the window's dialog.
constexpr int kLookupBoundMs = 2000;

QString tr(const char* text) {
    return QCoreApplication::translate("NetworkEndpoint", text);
}

// Waits for the system resolver in a local event loop, so that the lookup can
// be abandoned at the bound; QHostInfo::fromName would block without one.
QHostInfo lookUp(const QString& host, bool& timedOut) {
    QHostInfo result;
    QEventLoop loop;
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    const int lookupId = QHostInfo::lookupHost(host, &loop, [&](const QHostInfo& info) {
        result = info;
        loop.quit();
    });
    bound.start(kLookupBoundMs);
    loop.exec();
    timedOut = !bound.isActive();
    if (timedOut) {
        QHostInfo::abortHostLookup(lookupId);
    }
    return result;
}

std::optional<QHostAddress> resolveHost(const QString& host, QString& error) {
    const QHostAddress numeric(host);
    if (!numeric.isNull()) {
        return numeric;
    }
    if (host.compare("localhost", Qt::CaseInsensitive) == 0) {
        return QHostAddress(QHostAddress::LocalHost);
    }
    if (host.isEmpty()) {
        error = tr("no host given");
        return std::nullopt;
    }
    bool timedOut = false;
    const QHostInfo info = lookUp(host, timedOut);
    if (timedOut) {
        error = tr("the host %1 could not be resolved within %2 seconds")
                    .arg(host)
                    .arg(kLookupBoundMs / 1000);
        return std::nullopt;
    }
    if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
        error = tr("the host %1 could not be resolved: %2").arg(host, info.errorString());
        return std::nullopt;
    }
    return info.addresses().first();
}

} // namespace

NetworkEndpoint::NetworkEndpoint(const QHostAddress& address, quint16 port)
    : hostAddress(address)
    , portNumber(port) {}

std::optional<NetworkEndpoint> NetworkEndpoint::resolve(const QString& host, int port,
                                                        QString& error) {
    if (port < kLowestPort || port > kHighestPort) {
        error =
            tr("the port %1 is not between %2 and %3").arg(port).arg(kLowestPort).arg(kHighestPort);
        return std::nullopt;
    }
    const std::optional<QHostAddress> address = resolveHost(host.trimmed(), error);
    if (!address) {
        return std::nullopt;
    }
    return NetworkEndpoint(*address, quint16(port));
}
