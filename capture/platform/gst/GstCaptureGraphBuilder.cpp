#include "capture/platform/gst/GstCaptureGraphBuilder.h"

#include "capture/platform/gst/GstFilterGraph.h"
#include "capture/platform/gst/GstSourceFilter.h"
#include "capture/platform/gst/GstStreamConfig.h"

#include <vector>

using namespace platform;

Status GstCaptureGraphBuilder::setFiltergraph(const std::shared_ptr<FilterGraph>& graph) {
    graph_ = std::dynamic_pointer_cast<GstFilterGraph>(graph);
    return graph_ ? kOk : kFail;
}

// A pipeline source has one video output, which serves as capture and
// preview pin alike.
Status GstCaptureGraphBuilder::findStreamConfig(PinCategory, const std::shared_ptr<Filter>& source,
                                                std::unique_ptr<StreamConfig>& config) {
    const auto gstSource = std::dynamic_pointer_cast<GstSourceFilter>(source);
    if (!gstSource) {
        return kFail;
    }
    config = std::make_unique<GstStreamConfig>(gstSource);
    return kOk;
}

Status GstCaptureGraphBuilder::renderStream(PinCategory, const std::shared_ptr<Filter>& source,
                                            const std::shared_ptr<Filter>& grabber,
                                            const std::shared_ptr<Filter>& renderer) {
    const auto gstSource = std::dynamic_pointer_cast<GstSourceFilter>(source);
    const auto gstGrabber = std::dynamic_pointer_cast<GstFilter>(grabber);
    const auto gstRenderer = std::dynamic_pointer_cast<GstFilter>(renderer);
    if (!graph_ || !gstSource || !gstGrabber || !gstRenderer) {
        return kFail;
    }
    const auto format = graph_->addInsertedElement("capsfilter", u"Capture Format");
    if (!format) {
        return kFail;
    }
    g_object_set(format->element(), "caps", gstSource->currentCaps(), nullptr);
    std::vector<GstElement*> chain{gstSource->element(), format->element()};
    if (gstSource->producesJpeg()) {
        const auto decoder = graph_->addInsertedElement("jpegdec", u"MJPEG Decompressor");
        if (!decoder) {
            return kFail;
        }
        chain.push_back(decoder->element());
    }
    const auto converter = graph_->addInsertedElement("videoconvert", u"Color Space Converter");
    if (!converter) {
        return kFail;
    }
    chain.insert(chain.end(),
                 {converter->element(), gstGrabber->element(), gstRenderer->element()});
    for (std::size_t link = 1; link < chain.size(); ++link) {
        if (!gst_element_link(chain[link - 1], chain[link])) {
            return kFail;
        }
    }
    return kOk;
}
