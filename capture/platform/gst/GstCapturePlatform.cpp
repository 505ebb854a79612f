#include "capture/platform/gst/GstCapturePlatform.h"

#include "capture/CaptureConsole.h"

#include "capture/platform/gst/DemoCameraMoniker.h"
#include "capture/platform/gst/GstCameraMoniker.h"
#include "capture/platform/gst/GstCaptureGraphBuilder.h"
#include "capture/platform/gst/GstFilterGraph.h"
#include "capture/platform/gst/GstSampleGrabberFilter.h"
#include "capture/platform/gst/VideoFileMoniker.h"

using namespace platform;

Status GstCapturePlatform::initRuntime() {
    GError* error = nullptr;
    const bool started = gst_init_check(nullptr, nullptr, &error);
    GErrorPtr errorOwner(error);
    if (!started) {
        printCaptureLine("ERROR: GStreamer could not start: %s\n",
                         error ? error->message : "unknown reason");
    }
    return started ? kOk : kFail;
}

// GStreamer cannot be started again once shut down within one process, so
// it stays up until the process ends.
void GstCapturePlatform::shutdownRuntime() {}

// Without a running GStreamer there is nothing to list, and nothing can be
// set up, since set-up only reaches devices that were listed.
Status GstCapturePlatform::videoInputDevices(std::vector<std::unique_ptr<DeviceMoniker>>& devices) {
    if (!gst_is_initialized()) {
        return kFalse;
    }
    addCameras(devices);
    if (hasDemoCamera_) {
        devices.push_back(std::make_unique<DemoCameraMoniker>());
    }
    for (const std::string& path : videoFiles_) {
        devices.push_back(std::make_unique<VideoFileMoniker>(path));
    }
    return devices.empty() ? kFalse : kOk;
}

void GstCapturePlatform::addCameras(std::vector<std::unique_ptr<DeviceMoniker>>& devices) {
    GstObjectPtr<GstDeviceMonitor> monitor(gst_device_monitor_new());
    gst_device_monitor_add_filter(monitor.get(), "Video/Source", nullptr);
    GList* found = gst_device_monitor_get_devices(monitor.get());
    for (GList* item = found; item; item = item->next) {
        devices.push_back(
            std::make_unique<GstCameraMoniker>(addReference(static_cast<GstDevice*>(item->data))));
    }
    g_list_free_full(found, gst_object_unref);
}

Status
GstCapturePlatform::createCaptureGraphBuilder(std::unique_ptr<CaptureGraphBuilder>& builder) {
    builder = std::make_unique<GstCaptureGraphBuilder>();
    return kOk;
}

Status GstCapturePlatform::createFilterGraph(std::shared_ptr<FilterGraph>& graph) {
    graph = std::make_shared<GstFilterGraph>();
    return kOk;
}

Status GstCapturePlatform::createSampleGrabber(std::shared_ptr<Filter>& grabber) {
    grabber = GstSampleGrabberFilter::make();
    return grabber ? kOk : kFail;
}

// Frames are dropped as they arrive: the grabber before it has taken them.
Status GstCapturePlatform::createNullRenderer(std::shared_ptr<Filter>& renderer) {
    auto element = adoptFloating(gst_element_factory_make("fakesink", nullptr));
    if (!element) {
        return kFail;
    }
    g_object_set(element.get(), "sync", FALSE, "async", FALSE, nullptr);
    renderer = std::make_shared<GstFilter>(std::move(element));
    return kOk;
}

void GstCapturePlatform::addDemoCamera() {
    hasDemoCamera_ = true;
}

void GstCapturePlatform::addVideoFile(const std::string& path) {
    videoFiles_.push_back(path);
}
