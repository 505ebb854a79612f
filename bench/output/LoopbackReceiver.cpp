#include "LoopbackReceiver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

LoopbackReceiver::LoopbackReceiver() {
    descriptor = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(descriptor, reinterpret_cast<sockaddr*>(&address), length);
    ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
}

LoopbackReceiver::~LoopbackReceiver() {
    ::close(descriptor);
}

ssize_t LoopbackReceiver::receive() {
    return ::recv(descriptor, buffer, sizeof buffer, 0);
}

void LoopbackReceiver::drain() {
    while (::recv(descriptor, buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
    }
}
