#include "output/UdpSender.h"

#include <QCoreApplication>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("UdpSender", text);
}

QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

// The socket address of an endpoint, IPv4 or IPv6; its length is 0 for an
// address of another kind.
socklen_t socketAddressOf(const NetworkEndpoint& endpoint, sockaddr_storage& storage) {
    std::memset(&storage, 0, sizeof storage);
    const QHostAddress address = endpoint.address();
    if (address.protocol() == QAbstractSocket::IPv4Protocol) {
        auto& ipv4 = reinterpret_cast<sockaddr_in&>(storage);
        ipv4.sin_family = AF_INET;
        ipv4.sin_port = htons(endpoint.port());
        ipv4.sin_addr.s_addr = htonl(address.toIPv4Address());
        return sizeof ipv4;
    }
    if (address.protocol() == QAbstractSocket::IPv6Protocol) {
        auto& ipv6 = reinterpret_cast<sockaddr_in6&>(storage);
        ipv6.sin6_family = AF_INET6;
        ipv6.sin6_port = htons(endpoint.port());
        const Q_IPV6ADDR bytes = address.toIPv6Address();
        std::memcpy(&ipv6.sin6_addr, bytes.c, sizeof bytes.c);
        ipv6.sin6_scope_id = address.scopeId().toUInt();
        return sizeof ipv6;
    }
    return 0;
}

} // namespace

UdpSender::~UdpSender() {
    if (socketDescriptor >= 0) {
        ::close(socketDescriptor);
    }
}

bool UdpSender::open(const NetworkEndpoint& endpoint, QString& error) {
    sockaddr_storage storage;
    const socklen_t length = socketAddressOf(endpoint, storage);
    if (length == 0) {
        error = tr("%1 is neither an IPv4 nor an IPv6 address").arg(endpoint.address().toString());
        return false;
    }
    socketDescriptor = ::socket(storage.ss_family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socketDescriptor < 0) {
        error = tr("could not create a UDP socket: %1").arg(systemError(errno));
        return false;
    }
    // Connecting a UDP socket sends nothing; it fixes the destination and lets
    // the kernel pass on the receiver's refusals.
    if (::connect(socketDescriptor, reinterpret_cast<const sockaddr*>(&storage), length) != 0) {
        error = tr("could not address %1 port %2: %3")
                    .arg(endpoint.address().toString())
                    .arg(endpoint.port())
                    .arg(systemError(errno));
        ::close(socketDescriptor);
        socketDescriptor = -1;
        return false;
    }
    return true;
}

bool UdpSender::send(const QByteArray& datagram, QString& error) {
    if (socketDescriptor < 0) {
        error = tr("the socket is not open");
        return false;
    }
    const ssize_t sent = ::send(socketDescriptor, datagram.constData(), size_t(datagram.size()),
                                MSG_DONTWAIT | MSG_NOSIGNAL);
    if (sent < 0) {
        error = errno == ECONNREFUSED ? tr("nothing is listening there (connection refused)")
                                      : systemError(errno);
        return false;
    }
    return true;
}
