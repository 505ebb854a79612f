#include "capture/platform/gst/GstStreamConfig.h"

#include "capture/platform/gst/GstFormats.h"
#include "capture/platform/gst/GstSourceFilter.h"

using namespace platform;

GstStreamConfig::GstStreamConfig(std::shared_ptr<GstSourceFilter> source)
    : source_(std::move(source)) {}

Status GstStreamConfig::getFormat(std::unique_ptr<MediaType>& format) {
    format = std::make_unique<MediaType>(source_->currentFormat());
    return kOk;
}

Status GstStreamConfig::setFormat(const MediaType& format) {
    return source_->selectFormat(format) ? kOk : kFail;
}

Status GstStreamConfig::getNumberOfCapabilities(int& count, int& recordSize) {
    count = static_cast<int>(source_->capabilities().size());
    recordSize = kVideoStreamCapsRecordSize;
    return kOk;
}

Status GstStreamConfig::getStreamCaps(int index, std::unique_ptr<MediaType>& format,
                                      VideoStreamCaps& caps) {
    const auto capabilities = source_->capabilities();
    if (index < 0 || index >= static_cast<int>(capabilities.size())) {
        return kFail;
    }
    const gstformats::Capability& capability = capabilities[static_cast<std::size_t>(index)];
    caps = capability.caps;
    format = std::make_unique<MediaType>(capability.format);
    return kOk;
}

Status GstStreamConfig::getFrameIntervals(const MediaType& format,
                                          std::vector<int64_t>& intervals) {
    intervals = source_->frameIntervalsAt(format);
    return kOk;
}

Status GstStreamConfig::getStreamedFormat(std::unique_ptr<MediaType>& format) {
    MediaType streamed;
    if (!source_->streamedFormat(streamed)) {
        return kFalse;
    }
    format = std::make_unique<MediaType>(streamed);
    return kOk;
}
