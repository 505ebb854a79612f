#include "capture/platform/gst/GstCameraMoniker.h"

#include "capture/platform/gst/GstSourceFilter.h"
#include "capture/platform/gst/NameOnlyPropertyStore.h"

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
