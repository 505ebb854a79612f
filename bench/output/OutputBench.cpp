// Cost of one attitude update through each network output: the dispatcher's
// slot, as VideoProcessor::dataUpdate calls it, calibrating the pair, building
// the datagram and handing it to the kernel, until a loopback receiver has
// it. The target is at most 0.2 ms per update. Shaping both axes of an update
// on its own, with a dead zone, expo and limit on each, must take at most 1 µs.
#include "LoopbackReceiver.h"
#include "output/FlightGearSink.h"
#include "output/OpentrackSink.h"
#include "output/OutputDispatcher.h"
#include "output/ResponseShaping.h"

#include <benchmark/benchmark.h>

namespace {

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
