#include "ArmScene.h"
#include "MovingArms.h"
#include "analysis/FramePreparation.h"
#include "analysis/LineDetector.h"
#include "analysis/OneEuroFilter.h"
#include "analysis/VideoProcessor.h"

#include <benchmark/benchmark.h>

#ifdef ZAREDEZID_WITH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

namespace {

constexpr int kFrames = 16;
constexpr int kEdgeThreshold = 100;
constexpr int kChangeThreshold = 820;

const MovingArms& recording(const benchmark::State& state) {
    static const MovingArms large(640, 480, kFrames);
    static const MovingArms wide(320, 240, kFrames);
    static const MovingArms narrow(160, 120, kFrames);
    if (state.range(0) == 640) {
        return large;
    }
    return state.range(0) == 320 ? wide : narrow;
}

// Other work on a shared machine only ever adds time, so over repetitions the
// smallest mean is the best estimate of the cost itself.
double smallest(const std::vector<double>& means) {
    return *std::min_element(means.begin(), means.end());
}

template <typename Work> void timeOnly(benchmark::State& state, Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(elapsed.count());
}

// Grey, edges and change picture of one frame.
void BM_FramePreparation(benchmark::State& state) {
    const MovingArms& arms = recording(state);
    int frame = 0;
    for (auto _ : state) {
        const int previous = (frame + kFrames - 1) % kFrames;
        const auto grey = grayMirrored(*arms.frames[frame]);
        const auto edges = sobelEdges(*grey, kEdgeThreshold);
        int count = 0;
        const auto change = newEdges(*edges, *arms.edges[previous], count, kChangeThreshold);
        benchmark::DoNotOptimize(count);
        frame = (frame + 1) % kFrames;
    }
}

// Strings, clusters, votes and peaks of one change picture. The detector uses
// its picture up, so it works on a copy made outside the timing.
void BM_LineDetector(benchmark::State& state) {
    const MovingArms& arms = recording(state);
    LineDetector detector;
    LineList lines;
    int frame = 0;
    for (auto _ : state) {
        I::Image change(*arms.changes[frame]);
        timeOnly(state, [&] { detector.detect(lines, change, 10, 5.0, 0.5, 0.002, 2.0); });
        benchmark::DoNotOptimize(lines.data());
        frame = (frame + 1) % kFrames;
    }
}

// The whole estimator path of one frame, without a display picture, with the
// estimator of the second argument. Making the frame record, which the capture
// thread does, is not timed.
void BM_ProcessFrame(benchmark::State& state) {
    const MovingArms& arms = recording(state);
    const auto kind = EstimatorKind(state.range(1));
    state.SetLabel(estimatorKindName(kind).toStdString());
    VideoProcessor processor;
    processor.setEstimator(kind);
    int frame = 0;
    for (auto _ : state) {
        auto* captured = new I::Image(*arms.frames[frame]);
        timeOnly(state, [&] { processor.processFrame(captured); });
        frame = (frame + 1) % kFrames;
    }
}

// The same on a room like the tests': wall texture, a door, a picture and
// sensor noise, a light shirt 20 grey levels darker than the wall; the third
// argument is the noise's standard deviation, the fourth whether the person
// is there, arms wavering, or has left the room, which the precise estimator
// then searches. A recording of a few frames, made once, is played in a loop.
void BM_ProcessPlainRoom(benchmark::State& state) {
    const int width = int(state.range(0));
    const auto kind = EstimatorKind(state.range(1));
    const auto person = state.range(3) ? ArmScene::Person::Bobbing : ArmScene::Person::Gone;
    state.SetLabel(estimatorKindName(kind).toStdString());
    ArmScene scene(width, width * 3 / 4, 1, {20, double(state.range(2))});
    std::vector<std::unique_ptr<I::Image>> frames;
    for (int frame = 0; frame < kFrames; ++frame) {
        frames.push_back(scene.next({100, 0}, person).image);
    }
    VideoProcessor processor;
    processor.setEstimator(kind);
    int frame = 0;
    for (auto _ : state) {
        auto* captured = new I::Image(*frames[frame]);
        timeOnly(state, [&] { processor.processFrame(captured); });
        frame = (frame + 1) % kFrames;
    }
}

// The adaptive filter alone, on a tilt that swings slowly with a little noise
// on it, one sample per frame at 30 frames per second.
void BM_OneEuroFilter(benchmark::State& state) {
    constexpr int kSamples = 256;
    constexpr double kSecondsPerFrame = 1.0 / 30;
    std::vector<double> tilts;
    for (int sample = 0; sample < kSamples; ++sample) {
        tilts.push_back(90 + 20 * std::sin(sample * 0.05) + 0.3 * std::sin(sample * 2.7));
    }
    OneEuroFilter filter;
    filter.setParameters({1.0, 0.05, 1.0});
    int sample = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(filter.filter(tilts[sample], kSecondsPerFrame));
        sample = (sample + 1) % kSamples;
    }
}

#ifdef ZAREDEZID_WITH_OPENCV
// OpenCV's standard Hough transform on the same change pictures, with the
// same steps of 0.5 pixel and 0.5 degree, for comparison.
void BM_OpenCvHoughLines(benchmark::State& state) {
    cv::setNumThreads(1);
    const MovingArms& arms = recording(state);
    std::vector<cv::Vec2f> lines;
    int frame = 0;
    for (auto _ : state) {
        const I::Image& change = *arms.changes[frame];
        const cv::Mat picture(change.height, change.width, CV_8UC1, change.data);
        timeOnly(state, [&] { cv::HoughLines(picture, lines, 0.5, 0.5 * CV_PI / 180, 30); });
        benchmark::DoNotOptimize(lines.data());
        frame = (frame + 1) % kFrames;
    }
}
BENCHMARK(BM_OpenCvHoughLines)
    ->Arg(640)
    ->Arg(320)
    ->Arg(160)
    ->UseManualTime()
    ->ComputeStatistics("min", smallest)
    ->Unit(benchmark::kMicrosecond);
#endif

BENCHMARK(BM_FramePreparation)
    ->Arg(640)
    ->Arg(320)
    ->Arg(160)
    ->ComputeStatistics("min", smallest)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LineDetector)
    ->Arg(640)
    ->Arg(320)
    ->Arg(160)
    ->UseManualTime()
    ->ComputeStatistics("min", smallest)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProcessFrame)
    ->ArgsProduct({{640, 320, 160}, {int(EstimatorKind::Precise), int(EstimatorKind::Classic)}})
    ->ArgNames({"width", "estimator"})
    ->UseManualTime()
    ->ComputeStatistics("min", smallest)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProcessPlainRoom)
    ->ArgsProduct({{640, 320, 160},
                   {int(EstimatorKind::Precise), int(EstimatorKind::Classic)},
                   {6, 14},
                   {1, 0}})
    ->ArgNames({"width", "estimator", "noise", "arms"})
    ->UseManualTime()
    ->ComputeStatistics("min", smallest)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OneEuroFilter)->ComputeStatistics("min", smallest);

} // namespace

BENCHMARK_MAIN();
