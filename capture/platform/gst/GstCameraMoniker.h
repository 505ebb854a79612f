#pragma once

#include "capture/platform/CapturePlatform.h"
#include "capture/platform/gst/GstHandles.h"

// A camera found by GStreamer's device monitor.
class GstCameraMoniker : public platform::DeviceMoniker {
public:
    explicit GstCameraMoniker(GstObjectPtr<GstDevice> device);

    platform::Status openPropertyStore(std::unique_ptr<platform::PropertyStore>& store) override;
    platform::Status bindSourceFilter(std::shared_ptr<platform::Filter>& source) override;
    platform::Status openControls(std::unique_ptr<platform::CameraControls>& controls) override;

private:
    // The camera's V4L2 device node, empty when its provider names none.
    std::string devicePath() const;

    GstObjectPtr<GstDevice> device_;
};
