#pragma once

#include "capture/platform/CapturePlatform.h"
#include "capture/platform/gst/GstHandles.h"

// A camera found by GStreamer's device monitor.
class GstCameraMoniker : public platform::DeviceMoniker {
public:
    explicit GstCameraMoniker(GstObjectPtr<GstDevice> device);

    platform::Status openPropertyStore(std::unique_ptr<platform::PropertyStore>& store) override;
    platform::Status bindSourceFilter(std::shared_ptr<platform::Filter>& source) override;

private:
    GstObjectPtr<GstDevice> device_;
};
