#include "capture/platform/gst/GstCameraMoniker.h"

#include "capture/platform/gst/GstSourceFilter.h"
#include "capture/platform/gst/NameOnlyPropertyStore.h"
#include "capture/platform/gst/V4l2CameraControls.h"

using namespace platform;

GstCameraMoniker::GstCameraMoniker(GstObjectPtr<GstDevice> device)
    : device_(std::move(device)) {}

Status GstCameraMoniker::openPropertyStore(std::unique_ptr<PropertyStore>& store) {
    GCharPtr name(gst_device_get_display_name(device_.get()));
    store = std::make_unique<NameOnlyPropertyStore>(QString::fromUtf8(name ? name.get() : ""));
    return kOk;
}

Status GstCameraMoniker::bindSourceFilter(std::shared_ptr<Filter>& source) {
    auto element = adoptFloating(gst_device_create_element(device_.get(), nullptr));
    if (!element) {
        return kFail;
    }
    source = std::make_shared<GstSourceFilter>(std::move(element),
                                               GstCapsPtr(gst_device_get_caps(device_.get())));
    return kOk;
}

Status GstCameraMoniker::openControls(std::unique_ptr<CameraControls>& controls) {
    const std::string path = devicePath();
    return path.empty() ? kNoInterface : V4l2CameraControls::open(path, controls);
}

// PipeWire names the node "api.v4l2.path", GStreamer's own V4L2 provider
// "device.path"; other providers (libcamera) give none, and their cameras
// offer no controls here.
std::string GstCameraMoniker::devicePath() const {
    std::unique_ptr<GstStructure, decltype(&gst_structure_free)> properties(
        gst_device_get_properties(device_.get()), &gst_structure_free);
    if (!properties) {
        return {};
    }
    for (const char* key : {"api.v4l2.path", "device.path"}) {
        if (const gchar* path = gst_structure_get_string(properties.get(), key)) {
            return path;
        }
    }
    return {};
}
