#include "capture/platform/gst/GstSampleGrabberFilter.h"

#include "capture/MonotonicClock.h"
#include "capture/platform/gst/GstFormats.h"

#include <cstring>
#include <gst/video/video.h>

using namespace platform;

namespace {
constexpr std::size_t kBytesPerPixel = 3;
constexpr double kNanosecondsPerSecond = 1e9;

class PackedSample : public MediaSample {
public:
    explicit PackedSample(const std::vector<uint8_t>& bytes)
        : bytes_(bytes) {}
    Status getPointer(const uint8_t*& data) override {
        data = bytes_.data();
        return kOk;
    }
    int32_t actualDataLength() override { return static_cast<int32_t>(bytes_.size()); }

private:
    const std::vector<uint8_t>& bytes_;
};

// A mapped video frame, unmapped when it goes.
class MappedFrame {
public:
    MappedFrame(GstVideoInfo* info, GstBuffer* buffer)
        : mapped_(gst_video_frame_map(&frame_, info, buffer, GST_MAP_READ)) {}
    ~MappedFrame() {
        if (mapped_) {
            gst_video_frame_unmap(&frame_);
        }
    }
    MappedFrame(const MappedFrame&) = delete;
    MappedFrame& operator=(const MappedFrame&) = delete;

    bool isMapped() const { return mapped_; }
    const uint8_t* row(int y) const {
        return static_cast<const uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame_, 0)) +
               std::size_t(y) * std::size_t(GST_VIDEO_FRAME_PLANE_STRIDE(&frame_, 0));
    }

private:
    GstVideoFrame frame_;
    bool mapped_;
};
} // namespace

std::shared_ptr<GstSampleGrabberFilter> GstSampleGrabberFilter::make() {
    auto element = adoptFloating(gst_element_factory_make("capsfilter", nullptr));
    if (!element) {
        return nullptr;
    }
    return std::shared_ptr<GstSampleGrabberFilter>(new GstSampleGrabberFilter(std::move(element)));
}

GstSampleGrabberFilter::GstSampleGrabberFilter(GstObjectPtr<GstElement> element)
    : GstFilter(std::move(element))
    , outputPad_(gst_element_get_static_pad(this->element(), "src")) {
    probeId_ =
        gst_pad_add_probe(outputPad_.get(), GST_PAD_PROBE_TYPE_BUFFER, &onBuffer, this, nullptr);
}

GstSampleGrabberFilter::~GstSampleGrabberFilter() {
    gst_pad_remove_probe(outputPad_.get(), probeId_);
}

Status GstSampleGrabberFilter::querySampleGrabber(std::shared_ptr<SampleGrabber>& grabber) {
    grabber = std::shared_ptr<SampleGrabber>(shared_from_this(), static_cast<SampleGrabber*>(this));
    return kOk;
}

// Frames are only ever handed to the callback as they pass, never kept.
Status GstSampleGrabberFilter::setOneShot(bool oneShot) {
    return oneShot ? kNotImplemented : kOk;
}

Status GstSampleGrabberFilter::setBufferSamples(bool bufferSamples) {
    return bufferSamples ? kNotImplemented : kOk;
}

Status GstSampleGrabberFilter::setCallback(SampleGrabberCB* callback, int) {
    QMutexLocker locker(&callbackLock_);
    callback_ = callback;
    return kOk;
}

Status GstSampleGrabberFilter::setMediaType(const MediaType& type) {
    GstCapsPtr caps = gstformats::capsFor(type);
    if (!caps) {
        return kFail;
    }
    g_object_set(element(), "caps", caps.get(), nullptr);
    return kOk;
}

void GstSampleGrabberFilter::watchFailure(std::shared_ptr<std::atomic<bool>> streamFailed) {
    streamFailed_ = std::move(streamFailed);
}

GstPadProbeReturn GstSampleGrabberFilter::onBuffer(GstPad* pad, GstPadProbeInfo* info,
                                                   gpointer grabber) {
    static_cast<GstSampleGrabberFilter*>(grabber)->deliver(pad, GST_PAD_PROBE_INFO_BUFFER(info));
    return GST_PAD_PROBE_OK;
}

// GStreamer pads each 24-bit row to a multiple of four bytes and stores the
// top row first; the sample is packed and turned bottom-up here.
void GstSampleGrabberFilter::deliver(GstPad* pad, GstBuffer* buffer) {
    if (!buffer || (streamFailed_ && *streamFailed_)) {
        return;
    }
    GstCapsPtr caps(gst_pad_get_current_caps(pad));
    GstVideoInfo info;
    if (!caps || !gst_video_info_from_caps(&info, caps.get()) ||
        GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_BGR) {
        return;
    }
    MappedFrame frame(&info, buffer);
    if (!frame.isMapped()) {
        return;
    }
    const int width = GST_VIDEO_INFO_WIDTH(&info);
    const int height = GST_VIDEO_INFO_HEIGHT(&info);
    const std::size_t rowBytes = std::size_t(width) * kBytesPerPixel;
    QMutexLocker locker(&callbackLock_);
    if (!callback_) {
        return;
    }
    packed_.resize(rowBytes * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        std::memcpy(packed_.data() + std::size_t(height - 1 - y) * rowBytes, frame.row(y),
                    rowBytes);
    }
    PackedSample sample(packed_);
    callback_->sampleCB(captureSeconds(pad, buffer), sample);
}

// A buffer's timestamp is its running time: the pipeline clock's time at
// capture less the base time. The pipeline clock is normally the system
// clock, which runs on the monotonic clock; the offset between the two is
// measured rather than assumed, so that any other clock gives right times
// too. Negative when the source left the buffer without a timestamp.
double GstSampleGrabberFilter::captureSeconds(GstPad* pad, GstBuffer* buffer) const {
    constexpr double kUnknown = -1.0;
    GstObjectPtr<GstClock> clock(gst_element_get_clock(element()));
    GstEventPtr segmentEvent(gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0));
    if (!clock || !segmentEvent || !GST_BUFFER_PTS_IS_VALID(buffer)) {
        return kUnknown;
    }
    const GstSegment* segment = nullptr;
    gst_event_parse_segment(segmentEvent.get(), &segment);
    const GstClockTime runningTime =
        gst_segment_to_running_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
    if (!GST_CLOCK_TIME_IS_VALID(runningTime)) {
        return kUnknown;
    }
    const int64_t clockToMonotonic =
        monotonic_clock::nowNanoseconds() - int64_t(gst_clock_get_time(clock.get()));
    const int64_t captured =
        int64_t(gst_element_get_base_time(element()) + runningTime) + clockToMonotonic;
    return double(captured) / kNanosecondsPerSecond;
}
