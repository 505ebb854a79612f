#pragma once

#include "output/NetworkEndpoint.h"

#include <QByteArray>
#include <QString>

// A UDP socket connected to one endpoint, sending without ever blocking. Being
// connected, it hears of a receiver that refuses the datagrams: the kernel
// reports the refusal on a later send.
class UdpSender {
public:
    UdpSender() = default;
    ~UdpSender();
    UdpSender(const UdpSender&) = delete;
    UdpSender& operator=(const UdpSender&) = delete;

    bool open(const NetworkEndpoint& endpoint, QString& error);

    // One datagram; false with error when the kernel did not take it.
    bool send(const QByteArray& datagram, QString& error);

private:
    int socketDescriptor = -1;
};
