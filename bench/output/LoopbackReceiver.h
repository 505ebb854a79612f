#pragma once

#include <sys/types.h>

// A UDP socket on a loopback port of its own, where the benchmarks' network
// outputs send.
class LoopbackReceiver {
public:
    LoopbackReceiver();
    ~LoopbackReceiver();
    LoopbackReceiver(const LoopbackReceiver&) = delete;
    LoopbackReceiver& operator=(const LoopbackReceiver&) = delete;

    // Waits for the next datagram.
    ssize_t receive();
    // Takes every datagram waiting, without waiting for more, so that they
    // never pile up in the kernel.
    void drain();

    int port = 0;

private:
    int descriptor = -1;
    char buffer[128];
};
