// How old an attitude is when the outputs send it: from a frame's arrival in
// the capture layer to the outputs' send, along the program's own path at
// 320x240. The frame reaches the device layer's callback, the capture thread
// woken by its arrival takes and widens it, the frame crosses to the thread
// the analysis lives in through that thread's event queue, the precise
// estimator turns it into an attitude, and the dispatcher sends it to
// opentrack on loopback. The delay is the one the status bar shows, told by
// VideoProcessor::outputDelay; a frame carries its arrival as its capture
// time when, as here, the source gives none. Target: median at most 0.5 ms.
#include "LoopbackReceiver.h"
#include "MovingArms.h"
#include "analysis/VideoProcessor.h"
#include "capture/VideoInputThr.h"
#include "capture/platform/fake/FakeCapturePlatform.h"
#include "output/OpentrackSink.h"
#include "output/OutputDispatcher.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kRecordedFrames = 16;
// Enough for the estimator to have found the arms before timing starts.
constexpr int kWarmUpFrames = 30;
constexpr double kNanosecondsPerMillisecond = 1e6;

// The recording as a camera's samples: 24 bits per pixel, blue first, rows
// bottom-up.
std::vector<std::vector<uint8_t>> cameraSamples(const MovingArms& arms) {
    std::vector<std::vector<uint8_t>> samples;
    for (const auto& frame : arms.frames) {
        std::vector<uint8_t> sample(std::size_t(kWidth) * kHeight * 3);
        for (int y = 0; y < kHeight; ++y) {
            const uchar* row = frame->data + std::size_t(kHeight - 1 - y) * kWidth * 4;
            for (int x = 0; x < kWidth; ++x) {
                std::copy_n(row + x * 4, 3, &sample[(std::size_t(y) * kWidth + x) * 3]);
            }
        }
        samples.push_back(std::move(sample));
    }
    return samples;
}

double percentile(std::vector<double> values, double fraction) {
    const auto rank = values.begin() + std::ptrdiff_t(fraction * double(values.size() - 1));
    std::nth_element(values.begin(), rank, values.end());
    return *rank;
}

// The program's path from the device layer to an opentrack receiver on
// loopback, with the delay of every attitude sent.
class OutputPath {
public:
    OutputPath()
        : samples(cameraSamples(MovingArms(kWidth, kHeight, kRecordedFrames))) {
        auto platform = FakeCapturePlatform::withDevices({"Bench camera"});
        fake = platform.get();
        capture = std::make_unique<VideoInputThr>(std::move(platform));
        QObject::connect(capture.get(), &VideoInputThr::capturedFrame, &processor,
                         &VideoProcessor::processFrame);
        QObject::connect(&processor, &VideoProcessor::dataUpdate, &outputs,
                         &OutputDispatcher::dataUpdate);
        QObject::connect(&processor, &VideoProcessor::outputDelay, [this](qint64 nanoseconds) {
            delaysMs.push_back(double(nanoseconds) / kNanosecondsPerMillisecond);
        });
        QObject::connect(&processor, &VideoProcessor::frameAnalysed, [this] { analysed = true; });
    }
    ~OutputPath() {
        capture->stopDevice();
        capture->wait();
    }

    bool start(QString& error) {
        if (!outputs.add(std::make_unique<OpentrackSink>("127.0.0.1", receiver.port), error)) {
            return false;
        }
        capture->startDevice(0, kWidth, kHeight, 30);
        return true;
    }
    void pushNextSample() { fake->pushSample(samples[next++ % samples.size()]); }
    // Handles the window thread's events until a frame has been analysed.
    void analyseOne() {
        analysed = false;
        while (!analysed) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        receiver.drain();
    }
    void report(benchmark::State& state) {
        if (delaysMs.empty()) {
            state.SkipWithError("no frame sent an attitude");
            return;
        }
        state.counters["median_ms"] = percentile(delaysMs, 0.5);
        state.counters["p99_ms"] = percentile(delaysMs, 0.99);
        state.counters["sent_frames"] = double(delaysMs.size());
    }

    std::vector<double> delaysMs;

private:
    const std::vector<std::vector<uint8_t>> samples;
    std::size_t next = 0;
    LoopbackReceiver receiver;
    OutputDispatcher outputs;
    FakeCapturePlatform* fake = nullptr;
    std::unique_ptr<VideoInputThr> capture;
    VideoProcessor processor;
    bool analysed = false;
};

// The benchmark's own thread stands in for both the platform's streaming
// thread, which hands the sample over, and the window's thread, which waits
// for the frame in its event loop, analyses it and sends the attitude.
void BM_ArrivalToOutputSend320x240(benchmark::State& state) {
    OutputPath path;
    QString error;
    if (!path.start(error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    for (int frame = 0; frame < kWarmUpFrames; ++frame) {
        path.pushNextSample();
        path.analyseOne();
    }
    path.delaysMs.clear();
    for (auto _ : state) {
        path.pushNextSample();
        path.analyseOne();
    }
    path.report(state);
}
BENCHMARK(BM_ArrivalToOutputSend320x240)->Unit(benchmark::kMillisecond)->Iterations(3000);

// A camera that delivers a frame every 2 ms to a window thread that spends
// 5 ms on other work, such as drawing, after each frame it analyses: the
// window gets to the frames less often than they come, and each time it
// analyses only the newest, not every frame that came meanwhile, oldest
// first. sent_frames counts the frames analysed.
void BM_ArrivalToOutputSendWhileTheWindowFallsBehind(benchmark::State& state) {
    constexpr auto kFrameInterval = std::chrono::milliseconds(2);
    constexpr auto kOtherWork = std::chrono::milliseconds(5);
    OutputPath path;
    QString error;
    if (!path.start(error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    std::atomic<bool> streaming{true};
    std::thread camera([&] {
        while (streaming) {
            path.pushNextSample();
            std::this_thread::sleep_for(kFrameInterval);
        }
    });
    for (int frame = 0; frame < kWarmUpFrames; ++frame) {
        path.analyseOne();
    }
    path.delaysMs.clear();
    for (auto _ : state) {
        path.analyseOne();
        std::this_thread::sleep_for(kOtherWork);
    }
    streaming = false;
    camera.join();
    path.report(state);
}
BENCHMARK(BM_ArrivalToOutputSendWhileTheWindowFallsBehind)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(500);

} // namespace

// The frame crosses to the analysis through an event queue, which needs the
// application object.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
