#include "capture/platform/gst/GstFilterGraph.h"

#include "capture/CaptureConsole.h"
#include "capture/platform/gst/GstFilter.h"
#include "capture/platform/gst/GstPadPin.h"
#include "capture/platform/gst/GstSampleGrabberFilter.h"
#include "capture/platform/gst/GstSourceFilter.h"

#include <algorithm>

using namespace platform;

namespace {
// Long enough for a camera to open; a start that takes longer counts as
// failed.
constexpr GstClockTime kStateChangeTimeout = 5 * GST_SECOND;
} // namespace

GstFilterGraph::GstFilterGraph()
    : pipeline_(adoptFloating(gst_pipeline_new(nullptr)))
    , streamFailed_(std::make_shared<std::atomic<bool>>(false)) {
    GstObjectPtr<GstBus> bus(gst_element_get_bus(pipeline_.get()));
    gst_bus_set_sync_handler(bus.get(), &onMessage, this, nullptr);
}

GstFilterGraph::~GstFilterGraph() {
    stopFeeding();
    gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    GstObjectPtr<GstBus> bus(gst_element_get_bus(pipeline_.get()));
    gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
}

Status GstFilterGraph::addFilter(const std::shared_ptr<Filter>& filter,
                                 const std::u16string& name) {
    const auto gstFilter = std::dynamic_pointer_cast<GstFilter>(filter);
    if (!gstFilter) {
        return kFail;
    }
    gstFilter->setName(name);
    if (!gst_bin_add(GST_BIN(pipeline_.get()), gstFilter->element())) {
        return kFail;
    }
    if (const auto grabber = std::dynamic_pointer_cast<GstSampleGrabberFilter>(gstFilter)) {
        grabber->watchFailure(streamFailed_);
    }
    filters_.push_back(gstFilter);
    return kOk;
}

Status GstFilterGraph::removeFilter(const std::shared_ptr<Filter>& filter) {
    const auto found =
        std::find(filters_.begin(), filters_.end(), std::dynamic_pointer_cast<GstFilter>(filter));
    if (found == filters_.end()) {
        return kFail;
    }
    GstElement* element = (*found)->element();
    gst_element_set_state(element, GST_STATE_NULL);
    if (!gst_bin_remove(GST_BIN(pipeline_.get()), element)) {
        return kFail;
    }
    filters_.erase(found);
    return kOk;
}

Status GstFilterGraph::enumFilters(std::vector<std::shared_ptr<Filter>>& filters) {
    filters.assign(filters_.begin(), filters_.end());
    return kOk;
}

Status GstFilterGraph::disconnect(const std::shared_ptr<Pin>& pin) {
    const auto padPin = std::dynamic_pointer_cast<GstPadPin>(pin);
    if (!padPin) {
        return kFail;
    }
    GstObjectPtr<GstPad> peer(gst_pad_get_peer(padPin->pad()));
    if (peer) {
        const bool isInput = GST_PAD_DIRECTION(padPin->pad()) == GST_PAD_SINK;
        isInput ? gst_pad_unlink(peer.get(), padPin->pad())
                : gst_pad_unlink(padPin->pad(), peer.get());
    }
    return kOk;
}

Status GstFilterGraph::queryMediaControl(std::shared_ptr<MediaControl>& control) {
    control = std::shared_ptr<MediaControl>(shared_from_this(), static_cast<MediaControl*>(this));
    return kOk;
}

// Nothing in a capture pipeline waits for its clock (the renderer does not
// sync), so samples already pass as they arrive. The pipeline keeps the
// system clock, rather than none, because the sources stamp each buffer with
// its capture time on it, and that is how old each frame's attitude is
// measured.
Status GstFilterGraph::runWithoutClock() {
    GstObjectPtr<GstClock> systemClock(gst_system_clock_obtain());
    gst_pipeline_use_clock(GST_PIPELINE(pipeline_.get()), systemClock.get());
    return kOk;
}

Status GstFilterGraph::run() {
    {
        QMutexLocker locker(&failureLock_);
        failure_.clear();
    }
    *streamFailed_ = false;
    const Status status = changeState(GST_STATE_PLAYING);
    if (succeeded(status)) {
        startFeeding();
    }
    return status;
}

Status GstFilterGraph::pause() {
    stopFeeding();
    return changeState(GST_STATE_PAUSED);
}

Status GstFilterGraph::stop() {
    stopFeeding();
    return changeState(GST_STATE_NULL);
}

std::string GstFilterGraph::streamFailure() {
    QMutexLocker locker(&failureLock_);
    return failure_;
}

std::shared_ptr<GstFilter> GstFilterGraph::addInsertedElement(const char* factory,
                                                              const std::u16string& name) {
    auto element = adoptFloating(gst_element_factory_make(factory, nullptr));
    if (!element) {
        return nullptr;
    }
    auto filter = std::make_shared<GstFilter>(std::move(element));
    return succeeded(addFilter(filter, name)) ? filter : nullptr;
}

Status GstFilterGraph::changeState(GstState state) {
    if (gst_element_set_state(pipeline_.get(), state) == GST_STATE_CHANGE_FAILURE) {
        return kFail;
    }
    GstState reached = GST_STATE_VOID_PENDING;
    const GstStateChangeReturn result =
        gst_element_get_state(pipeline_.get(), &reached, nullptr, kStateChangeTimeout);
    return result == GST_STATE_CHANGE_FAILURE || result == GST_STATE_CHANGE_ASYNC ? kFail : kOk;
}

void GstFilterGraph::startFeeding() {
    for (const auto& filter : filters_) {
        if (const auto source = std::dynamic_pointer_cast<GstSourceFilter>(filter)) {
            source->startFeeding();
        }
    }
}

void GstFilterGraph::stopFeeding() {
    for (const auto& filter : filters_) {
        if (const auto source = std::dynamic_pointer_cast<GstSourceFilter>(filter)) {
            source->stopFeeding();
        }
    }
}

// Runs on whichever thread posts the message. Nobody reads the bus otherwise,
// so every message is dropped here once looked at.
GstBusSyncReply GstFilterGraph::onMessage(GstBus*, GstMessage* message, gpointer graph) {
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if (type == GST_MESSAGE_ERROR || type == GST_MESSAGE_EOS) {
        static_cast<GstFilterGraph*>(graph)->reportStreamFailure(message);
    }
    gst_message_unref(message);
    return GST_BUS_DROP;
}

void GstFilterGraph::reportStreamFailure(GstMessage* message) {
    if (streamFailed_->exchange(true)) {
        return;
    }
    std::string failure = "the video stream ended";
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
        printCaptureLine("ERROR: %s\n", failure.c_str());
    } else {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        GErrorPtr errorOwner(error);
        failure = error ? error->message : "stream error";
        printCaptureLine("ERROR: %s: %s\n", GST_OBJECT_NAME(GST_MESSAGE_SRC(message)),
                         failure.c_str());
    }
    QMutexLocker locker(&failureLock_);
    failure_ = failure;
}
