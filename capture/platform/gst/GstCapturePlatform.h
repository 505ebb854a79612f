#pragma once

#include "capture/platform/CapturePlatform.h"
#include "capture/platform/gst/GstHandles.h"

#include <QMutex>

#include <string>
#include <vector>

// The capture platform on GStreamer: the machine's cameras as its device
// monitor lists them, then the program's own sources (the demo camera, video
// files), each set up as a pipeline ending in the sample grabber.
class GstCapturePlatform : public CapturePlatform {
public:
    GstCapturePlatform() = default;
    ~GstCapturePlatform() override;
    GstCapturePlatform(const GstCapturePlatform&) = delete;
    GstCapturePlatform& operator=(const GstCapturePlatform&) = delete;

    platform::Status initRuntime() override;
    void shutdownRuntime() override;
    platform::Status
    videoInputDevices(std::vector<std::unique_ptr<platform::DeviceMoniker>>& devices) override;
    platform::Status
    createCaptureGraphBuilder(std::unique_ptr<platform::CaptureGraphBuilder>& builder) override;
    platform::Status createFilterGraph(std::shared_ptr<platform::FilterGraph>& graph) override;
    platform::Status createSampleGrabber(std::shared_ptr<platform::Filter>& grabber) override;
    platform::Status createNullRenderer(std::shared_ptr<platform::Filter>& renderer) override;
    void addDemoCamera() override;
    void addVideoFile(const std::string& path) override;
    void watchDevices(std::function<void()> devicesChanged) override;

private:
    void addCameras(std::vector<std::unique_ptr<platform::DeviceMoniker>>& devices);
    void stopWatching();
    static GstBusSyncReply onMonitorMessage(GstBus* bus, GstMessage* message, gpointer platform);

    // Runs while the devices are watched, so its list is always current.
    GstObjectPtr<GstDeviceMonitor> monitor_;
    // Guards devicesChanged_, called from the device providers' threads.
    QMutex watcherLock_;
    std::function<void()> devicesChanged_;

    bool hasDemoCamera_ = false;
    std::vector<std::string> videoFiles_;
};
