#include "app/ProcessObjects.h"

#include "analysis/VideoProcessor.h"
#include "capture/GrayPalette.h"
#include "capture/VideoInputThr.h"
#include "view/CXGLReader.h"
#include "view/RunnerThr.h"

#include <QtGlobal>

static void registerResources() {
    Q_INIT_RESOURCE(zaredezid);
}

static void unregisterResources() {
    Q_CLEANUP_RESOURCE(zaredezid);
}

namespace {

// The compiled-in files must be readable before the model reader, built next,
// reads the aircraft from them; they go away after everything else.
class ResourceRegistration {
public:
    ResourceRegistration() { registerResources(); }
    ~ResourceRegistration() { unregisterResources(); }
    ResourceRegistration(const ResourceRegistration&) = delete;
    ResourceRegistration& operator=(const ResourceRegistration&) = delete;
};

ResourceRegistration resourceRegistration;

} // namespace

// Definition order is construction order; see ProcessObjects.h.
RunnerThr runnerThr;
CXGLReader xglReader;
QVector<QRgb> grayPalette = makeGrayPalette();
VideoProcessor videoProcessor;
VideoInputThr videoInputThr;

SettingsWindow* mainWindow = nullptr;
QLabel* outputLabel = nullptr;
