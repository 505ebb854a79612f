#include "capture/platform/gst/GstCapturePlatform.h"

#include "capture/CaptureConsole.h"

#include "capture/platform/gst/DemoCameraMoniker.h"
#include "capture/platform/gst/GstCameraMoniker.h"
#include "capture/platform/gst/GstCaptureGraphBuilder.h"
#include "capture/platform/gst/GstFilterGraph.h"
#include "capture/platform/gst/GstSampleGrabberFilter.h"
#include "capture/platform/gst/VideoFileMoniker.h"

#include <QFileInfo>

using namespace platform;

namespace {
// A running monitor learns of V4L2 cameras, those present and those that
// come and go, from the udev daemon alone. Where none runs (a container, a
// chroot) it would know of no camera at all, while a probe, which a stopped
// monitor makes at each listing, still finds them.
bool udevRuns() {
    return QFileInfo::exists(QStringLiteral("/run/udev/control"));
}

GstObjectPtr<GstDeviceMonitor> newCameraMonitor() {
    GstObjectPtr<GstDeviceMonitor> monitor(gst_device_monitor_new());
    gst_device_monitor_add_filter(monitor.get(), "Video/Source", nullptr);
    return monitor;
}
} // namespace

GstCapturePlatform::~GstCapturePlatform() {
    stopWatching();
}

// When GStreamer's V4L2 source stops it "orphans" its buffer pool, leaving
// it to buffers still out downstream, and on that path the pool is never
// freed: each start leaves its copy of the camera's descriptor open, with
// the pool's frame memory, and the driver cannot be unloaded. Draining the
// pool instead frees it as the source stops; a pipeline here holds no buffer
// past its stop, so nothing is lost. Set before GStreamer starts any thread,
// and a value the user chose is kept.
Status GstCapturePlatform::initRuntime() {
    g_setenv("GST_V4L2_FORCE_DRAIN", "1", FALSE);
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

// A running monitor answers from what its providers have seen; a stopped one
// probes the devices afresh.
void GstCapturePlatform::addCameras(std::vector<std::unique_ptr<DeviceMoniker>>& devices) {
    GstObjectPtr<GstDeviceMonitor> probe = monitor_ ? nullptr : newCameraMonitor();
    GList* found = gst_device_monitor_get_devices(monitor_ ? monitor_.get() : probe.get());
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

// The monitor's messages are taken on the provider thread that posts them
// rather than through a bus watch: a watch needs a GLib main loop on the
// default context, which the GUI thread runs only when Qt happens to use its
// GLib event dispatcher (QT_NO_GLIB, or a build without GLib, turn it off),
// and the headless programs run none at all. The callback only posts a
// notice, so it is safe on any thread.
void GstCapturePlatform::watchDevices(std::function<void()> devicesChanged) {
    stopWatching();
    if (!devicesChanged || !gst_is_initialized() || !udevRuns()) {
        return;
    }
    {
        QMutexLocker locker(&watcherLock_);
        devicesChanged_ = std::move(devicesChanged);
    }
    monitor_ = newCameraMonitor();
    GstObjectPtr<GstBus> bus(gst_device_monitor_get_bus(monitor_.get()));
    gst_bus_set_sync_handler(bus.get(), &onMonitorMessage, this, nullptr);
    // Without a provider to start there is nothing to watch; the listing
    // then probes afresh each time, as before watching began.
    if (!gst_device_monitor_start(monitor_.get())) {
        stopWatching();
    }
}

// The callback is cleared under the lock its calls hold, so once this
// returns none is under way and none can start, whatever provider thread
// outlives the monitor's stop.
void GstCapturePlatform::stopWatching() {
    if (monitor_) {
        gst_device_monitor_stop(monitor_.get());
        GstObjectPtr<GstBus> bus(gst_device_monitor_get_bus(monitor_.get()));
        gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
        monitor_.reset();
    }
    QMutexLocker locker(&watcherLock_);
    devicesChanged_ = nullptr;
}

GstBusSyncReply GstCapturePlatform::onMonitorMessage(GstBus*, GstMessage* message,
                                                     gpointer platform) {
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if (type == GST_MESSAGE_DEVICE_ADDED || type == GST_MESSAGE_DEVICE_REMOVED) {
        auto* self = static_cast<GstCapturePlatform*>(platform);
        QMutexLocker locker(&self->watcherLock_);
        if (self->devicesChanged_) {
            self->devicesChanged_();
        }
    }
    gst_message_unref(message);
    return GST_BUS_DROP;
}
