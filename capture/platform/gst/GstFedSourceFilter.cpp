#include "capture/platform/gst/GstFedSourceFilter.h"

namespace {
// Only the newest frame matters to a live picture: when the pipeline falls
// behind, an older one waiting is dropped for it rather than queued.
constexpr guint kQueuedFrames = 1;
constexpr int kAppLeakyDownstream = 2;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;
constexpr int kDefaultFrameRate = 30;
constexpr int kLargestSide = 4096;
constexpr int kFastestFrameRate = 240;

GstCapsPtr producibleCaps() {
    // The first structure, fixed, is the default format.
    GstCapsPtr caps(gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", "width",
                                        G_TYPE_INT, kDefaultWidth, "height", G_TYPE_INT,
                                        kDefaultHeight, "framerate", GST_TYPE_FRACTION,
                                        kDefaultFrameRate, 1, nullptr));
    gst_caps_append(caps.get(), gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx",
                                                    "width", GST_TYPE_INT_RANGE, 1, kLargestSide,
                                                    "height", GST_TYPE_INT_RANGE, 1, kLargestSide,
                                                    "framerate", GST_TYPE_FRACTION_RANGE, 1, 1,
                                                    kFastestFrameRate, 1, nullptr));
    return caps;
}
} // namespace

std::shared_ptr<GstFedSourceFilter> GstFedSourceFilter::make(std::unique_ptr<FrameFeeder> feeder) {
    auto element = adoptFloating(gst_element_factory_make("appsrc", nullptr));
    if (!element) {
        return nullptr;
    }
    g_object_set(element.get(), "is-live", TRUE, "format", GST_FORMAT_TIME, "max-buffers",
                 guint64(kQueuedFrames), "leaky-type", kAppLeakyDownstream, nullptr);
    return std::shared_ptr<GstFedSourceFilter>(
        new GstFedSourceFilter(std::move(element), std::move(feeder)));
}

GstFedSourceFilter::GstFedSourceFilter(GstObjectPtr<GstElement> element,
                                       std::unique_ptr<FrameFeeder> feeder)
    : GstSourceFilter(std::move(element), producibleCaps())
    , feeder_(std::move(feeder)) {}

GstFedSourceFilter::~GstFedSourceFilter() {
    stopFeeding();
}

void GstFedSourceFilter::startFeeding() {
    if (feeding_) {
        return;
    }
    GstAppSrc* source = GST_APP_SRC(element());
    gst_app_src_set_caps(source, currentCaps());
    feeder_->start(source, currentFormat());
    feeding_ = true;
}

void GstFedSourceFilter::stopFeeding() {
    if (feeding_) {
        feeder_->stop();
        feeding_ = false;
    }
}
