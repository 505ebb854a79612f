// The process-wide objects of the soak, in the program's order, with the
// capture thread on the real platform so that the demo camera runs through
// GStreamer exactly as in the program.
#include "analysis/VideoProcessor.h"
#include "app/ProcessObjects.h"
#include "capture/GrayPalette.h"
#include "capture/VideoInputThr.h"
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

} // namespace

RunnerThr runnerThr;
CXGLReader xglReader;
QVector<QRgb> grayPalette = makeGrayPalette();
VideoProcessor videoProcessor;
VideoInputThr videoInputThr;

SettingsWindow* mainWindow = nullptr;
QLabel* outputLabel = nullptr;
