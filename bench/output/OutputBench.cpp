// Cost of one attitude update through each network output: the dispatcher's
// slot, as VideoProcessor::dataUpdate calls it, calibrating the pair, building
// the datagram and handing it to the kernel, until a loopback receiver has
// it. The target is at most 0.2 ms per update. Shaping both axes of an update
// on its own, with a dead zone, expo and limit on each, must take at most 1 µs.
#include "output/FlightGearSink.h"
#include "output/OpentrackSink.h"
#include "output/OutputDispatcher.h"
#include "output/ResponseShaping.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A blocking loopback socket on a port of its own, read after every update so
// that the measured time ends with the datagram delivered.
class LoopbackReceiver {
public:
    LoopbackReceiver() {
        descriptor = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(descriptor, reinterpret_cast<sockaddr*>(&address), length);
        ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~LoopbackReceiver() { ::close(descriptor); }
    LoopbackReceiver(const LoopbackReceiver&) = delete;
    LoopbackReceiver& operator=(const LoopbackReceiver&) = delete;

    ssize_t receive() { return ::recv(descriptor, buffer, sizeof buffer, 0); }

    int port = 0;

private:
    int descriptor = -1;
    char buffer[128];
};

template <typename Sink> void BM_UpdateToDatagramReceived(benchmark::State& state) {
    LoopbackReceiver receiver;
    OutputDispatcher outputs;
    QString error;
    if (!outputs.add(std::make_unique<Sink>("127.0.0.1", receiver.port), error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    float roll = 100.0f;
    for (auto _ : state) {
        outputs.dataUpdate(roll, -20.0f);
        benchmark::DoNotOptimize(receiver.receive());
        roll = roll < 160.0f ? roll + 0.5f : 100.0f;
    }
}
BENCHMARK_TEMPLATE(BM_UpdateToDatagramReceived, OpentrackSink);
BENCHMARK_TEMPLATE(BM_UpdateToDatagramReceived, FlightGearSink);

void BM_ShapeUpdate(benchmark::State& state) {
    ResponseShaping shaping;
    shaping.roll = {0.1, 0.4, 0.9};
    shaping.pitch = {0.05, 0.7, 0.6};
    CalibratedAttitude calibrated{-1.0, 1.0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(shaping.shape(calibrated));
        calibrated.roll = calibrated.roll < 1.0 ? calibrated.roll + 0.001 : -1.0;
        calibrated.pitch = -calibrated.roll;
    }
}
BENCHMARK(BM_ShapeUpdate);

} // namespace

BENCHMARK_MAIN();
