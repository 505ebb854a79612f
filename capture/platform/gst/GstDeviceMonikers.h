#pragma once

#include "capture/platform/CapturePlatform.h"
#include "capture/platform/gst/GstHandles.h"

#include <string>

// A camera found by GStreamer's device monitor.
class GstCameraMoniker : public platform::DeviceMoniker {
public:
    explicit GstCameraMoniker(GstObjectPtr<GstDevice> device);

    platform::Status openPropertyStore(std::unique_ptr<platform::PropertyStore>& store) override;
    platform::Status bindSourceFilter(std::shared_ptr<platform::Filter>& source) override;

private:
    GstObjectPtr<GstDevice> device_;
};

// The painted demo camera.
class DemoCameraMoniker : public platform::DeviceMoniker {
public:
    platform::Status openPropertyStore(std::unique_ptr<platform::PropertyStore>& store) override;
    platform::Status bindSourceFilter(std::shared_ptr<platform::Filter>& source) override;
};

// A video file replayed as a camera, named after the file.
class VideoFileMoniker : public platform::DeviceMoniker {
public:
    explicit VideoFileMoniker(std::string path);

    platform::Status openPropertyStore(std::unique_ptr<platform::PropertyStore>& store) override;
    platform::Status bindSourceFilter(std::shared_ptr<platform::Filter>& source) override;

private:
    std::string path_;
};
