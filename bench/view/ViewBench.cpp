// Times one painted frame of the flight view at two sizes and the start-up
// reading and compiling of the aircraft model, in a real GL context (run it
// under a virtual X server with Mesa's software renderer).
#include "view/CXGLReader.h"
#include "view/GLWidget.h"

#include <QApplication>
#include <QOpenGLWidget>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

// The benchmarks drive the view by hand: nothing is started or paced.
class IdleControls : public ViewControls {
public:
    bool startStop() override { return true; }
    void startPacing() override {}
    void stopPacing() override {}
    void pausePacing() override {}
    void resumePacing() override {}
};

void paintFrames(benchmark::State& state, int samples) {
    GLWidget widget(std::make_unique<IdleControls>(), nullptr, samples);
    widget.resize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    widget.show();
    (void)QTest::qWaitForWindowExposed(&widget);
    // A gentle turn and climb, so the frames differ like in flight.
    widget.updateData(140.0f, 5.0f);
    for (auto _ : state)
        widget.update();
}

void paintOneFrame(benchmark::State& state) {
    paintFrames(state, GLWidget::kDefaultSamples);
}
// Mesa's software renderer rasterises in threads of its own: the CPU column
// counts them all, so it shows the work of a frame even on a busy machine.
BENCHMARK(paintOneFrame)
    ->Args({400, 400})
    ->Args({965, 516})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The same frame without multisampling, which multiplies the software
// renderer's cost per triangle and per pixel: the figure to weigh it against.
void paintOneFrameSingleSample(benchmark::State& state) {
    paintFrames(state, 0);
}
BENCHMARK(paintOneFrameSingleSample)
    ->Args({400, 400})
    ->Args({965, 516})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void readAndCompileModel(benchmark::State& state) {
    QOpenGLWidget canvas;
    canvas.show();
    (void)QTest::qWaitForWindowExposed(&canvas);
    canvas.makeCurrent();
    for (auto _ : state) {
        CXGLReader reader;
        const GLuint list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        for (const QString& name : reader.meshNames())
            reader.drawMesh(name);
        glEndList();
        glDeleteLists(list, 1);
    }
}
BENCHMARK(readAndCompileModel)->Unit(benchmark::kMillisecond);

void readModel(benchmark::State& state) {
    for (auto _ : state) {
        CXGLReader reader;
        benchmark::DoNotOptimize(reader.meshNames());
    }
}
BENCHMARK(readModel)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
