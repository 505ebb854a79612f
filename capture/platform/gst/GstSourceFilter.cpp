#include "capture/platform/gst/GstSourceFilter.h"

#include "capture/platform/gst/GstFormats.h"

using namespace platform;

GstSourceFilter::GstSourceFilter(GstObjectPtr<GstElement> element, GstCapsPtr producibleCaps)
    : GstFilter(std::move(element))
    , producibleCaps_(std::move(producibleCaps)) {
    currentFormat_ = gstformats::defaultFormat(producibleCaps_.get(), currentCaps_);
}

bool GstSourceFilter::selectFormat(const MediaType& format) {
    GstCapsPtr wanted = gstformats::capsFor(format);
    if (!wanted || !producibleCaps_ ||
        !gst_caps_can_intersect(producibleCaps_.get(), wanted.get())) {
        return false;
    }
    currentCaps_ = std::move(wanted);
    currentFormat_ = format;
    return true;
}

std::vector<gstformats::Capability> GstSourceFilter::capabilities() const {
    return gstformats::capabilitiesOf(producibleCaps_.get());
}

bool GstSourceFilter::producesJpeg() const {
    return currentFormat_.subtype == subtype::kMjpg;
}
