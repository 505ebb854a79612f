// The process-wide objects of the test and benchmark programs that need the
// whole application, in the program's order, with the capture thread on a
// scriptable fake platform instead of the real cameras. No main window exists
// until a test makes one.
#include "tests/support/FakeCaptureProcessObjects.h"

#include "analysis/VideoProcessor.h"
#include "app/ProcessObjects.h"
#include "capture/GrayPalette.h"
#include "capture/VideoInputThr.h"
#include "capture/platform/fake/FakeCapturePlatform.h"
#include "view/CXGLReader.h"
#include "view/RunnerThr.h"

static void registerResources() {
    Q_INIT_RESOURCE(zaredezid);
}

namespace {

struct ResourceRegistration {
    ResourceRegistration() { registerResources(); }
};

ResourceRegistration resourceRegistration;
FakeCapturePlatform* fakePlatform = nullptr;

std::unique_ptr<FakeCapturePlatform> makeFakePlatform() {
    auto platform = std::make_unique<FakeCapturePlatform>();
    fakePlatform = platform.get();
    return platform;
}

} // namespace

RunnerThr runnerThr;
CXGLReader xglReader;
QVector<QRgb> grayPalette = makeGrayPalette();
VideoProcessor videoProcessor;
VideoInputThr videoInputThr(makeFakePlatform());

SettingsWindow* mainWindow = nullptr;
QLabel* outputLabel = nullptr;

FakeCapturePlatform& fakeCapture() {
    return *fakePlatform;
}
