#include "capture/Image.h"
#include "capture/PixelWidening.h"
#include "capture/VideoInput.h"
#include "capture/VideoInputThr.h"
#include "capture/platform/fake/FakeCapturePlatform.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr std::size_t kFrameBytes = std::size_t(kWidth) * kHeight * 3;

using Clock = std::chrono::steady_clock;

std::vector<uint8_t> sampleBytes() {
    std::vector<uint8_t> sample(kFrameBytes);
    for (std::size_t i = 0; i < sample.size(); ++i) {
        sample[i] = static_cast<uint8_t>(i * 13);
    }
    return sample;
}

std::unique_ptr<FakeCapturePlatform> oneCamera() {
    return FakeCapturePlatform::withDevices({"Bench camera"});
}

// Everything one frame costs between the streaming thread and the emitted
// record: the callback's copy, the copy out with rows reversed and the
// widening into the record's own pixels.
void BM_HandOverPerFrame320x240(benchmark::State& state) {
    auto platform = oneCamera();
    FakeCapturePlatform& fake = *platform;
    VideoInput layer(std::move(platform));
    layer.setupDevice(0, kWidth, kHeight);
    const std::vector<uint8_t> sample = sampleBytes();
    std::vector<uint8_t> source(kFrameBytes);

    for (auto _ : state) {
        fake.pushSample(sample);
        layer.getPixels(0, source.data(), source.size());
        auto frame = std::make_unique<I::Image>(kWidth, kHeight, I::Image::Rgb32);
        widenToFourBytesPerPixel(source.data(), kFrameBytes, frame->data);
        benchmark::DoNotOptimize(frame->data);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kFrameBytes));
}
BENCHMARK(BM_HandOverPerFrame320x240)->Unit(benchmark::kMillisecond);

// From a sample reaching the callback to capturedFrame being emitted by the
// capture thread, which the sample's arrival wakes.
void BM_ArrivalToEmitDelay(benchmark::State& state) {
    auto platform = oneCamera();
    FakeCapturePlatform& fake = *platform;
    VideoInputThr thread(std::move(platform));
    std::atomic<int64_t> emittedAt{0};
    QObject::connect(&thread, &VideoInputThr::capturedFrame, [&](I::Image* frame) {
        emittedAt = Clock::now().time_since_epoch().count();
        delete frame;
    });
    thread.startDevice(0, kWidth, kHeight, 30);
    const std::vector<uint8_t> sample = sampleBytes();
    std::vector<double> delays;

    for (auto _ : state) {
        emittedAt = 0;
        const auto arrived = Clock::now();
        fake.pushSample(sample);
        while (emittedAt == 0) {
            std::this_thread::yield();
        }
        const Clock::time_point emitted{Clock::duration(emittedAt.load())};
        const double seconds = std::chrono::duration<double>(emitted - arrived).count();
        state.SetIterationTime(seconds);
        delays.push_back(seconds);
    }
    thread.stopDevice();
    thread.wait();

    std::nth_element(delays.begin(), delays.begin() + delays.size() / 2, delays.end());
    state.counters["median_ms"] = delays[delays.size() / 2] * 1000.0;
    const auto slowest = delays.begin() + std::ptrdiff_t(delays.size() * 99 / 100);
    std::nth_element(delays.begin(), slowest, delays.end());
    state.counters["p99_ms"] = *slowest * 1000.0;
}
BENCHMARK(BM_ArrivalToEmitDelay)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

} // namespace

BENCHMARK_MAIN();
