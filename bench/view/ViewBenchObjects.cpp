// The process-wide objects of the view benchmarks, in the program's order. The
// capture thread runs on a fake platform with no device; no main window
// exists, as every widget under test gets recording controls.
#include "analysis/VideoProcessor.h"
#include "app/ProcessObjects.h"
#include "capture/GrayPalette.h"
#include "capture/VideoInputThr.h"
#include "capture/platform/fake/FakeCapturePlatform.h"
#include "view/CXGLReader.h"
#include "view/RunnerThr.h"

// Outside any namespace: the registration function is declared where the
// macro expands.
static void registerResources() {

    Q_INIT_RESOURCE(zaredezid);
}

namespace {

// The model reader, built next, reads the aircraft from the resources.
struct ResourceRegistration {
    ResourceRegistration() { registerResources(); }
};

ResourceRegistration resourceRegistration;

} // namespace

RunnerThr runnerThr;
CXGLReader xglReader;
QVector<QRgb> grayPalette = makeGrayPalette();
VideoProcessor videoProcessor;
VideoInputThr videoInputThr(std::make_unique<FakeCapturePlatform>());

SettingsWindow* mainWindow = nullptr;
QLabel* outputLabel = nullptr;
