#include "capture/platform/gst/GstSourceFilter.h"

#include "capture/platform/gst/GstFormats.h"

using namespace platform;

namespace {
// A camera that has opened sends its first frame well within this; one that
// has not by then is left to the stream's own failure reports.
constexpr gint64 kNegotiationWait = 2 * G_TIME_SPAN_SECOND;
constexpr gulong kNegotiationPoll = 5 * G_TIME_SPAN_MILLISECOND;
} // namespace

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

std::vector<int64_t> GstSourceFilter::frameIntervalsAt(const MediaType& format) const {
    return gstformats::frameIntervalsAt(producibleCaps_.get(), format);
}

// A live source negotiates only as it starts streaming, shortly after the
// pipeline has started; a source that is playing is given a moment for it.
bool GstSourceFilter::streamedFormat(MediaType& format) const {
    const GstObjectPtr<GstPad> output(gst_element_get_static_pad(element(), "src"));
    if (!output) {
        return false;
    }
    GstCapsPtr negotiated(gst_pad_get_current_caps(output.get()));
    const gint64 deadline = g_get_monotonic_time() + kNegotiationWait;
    while (!negotiated && GST_STATE(element()) == GST_STATE_PLAYING &&
           g_get_monotonic_time() < deadline) {
        g_usleep(kNegotiationPoll);
        negotiated.reset(gst_pad_get_current_caps(output.get()));
    }
    if (!negotiated) {
        return false;
    }
    format = gstformats::formatOf(negotiated.get());
    return true;
}

bool GstSourceFilter::producesJpeg() const {
    return currentFormat_.subtype == subtype::kMjpg;
}
