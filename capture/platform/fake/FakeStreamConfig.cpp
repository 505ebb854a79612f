#include "capture/platform/fake/FakeStreamConfig.h"

#include <algorithm>

using namespace platform;

namespace fake {

FakeStreamConfig::FakeStreamConfig(std::shared_ptr<FakeScript> script, FakeDevice& device)
    : script_(std::move(script))
    , device_(device)
    , currentFormat_(device.defaultFormat) {}

Status FakeStreamConfig::getFormat(std::unique_ptr<MediaType>& format) {
    const Status status = script_->statusOf(Operation::GetFormat);
    if (!succeeded(status)) {
        return status;
    }
    format = std::make_unique<MediaType>(currentFormat_);
    return kOk;
}

Status FakeStreamConfig::setFormat(const MediaType& format) {
    device_.submittedFormats.push_back(format);
    if (!device_.accepts(format)) {
        return kFail;
    }
    currentFormat_ = format;
    return kOk;
}

Status FakeStreamConfig::getNumberOfCapabilities(int& count, int& recordSize) {
    count = static_cast<int>(device_.capabilities.size());
    recordSize = device_.capabilityRecordSize;
    return kOk;
}

Status FakeStreamConfig::getStreamCaps(int index, std::unique_ptr<MediaType>& format,
                                       VideoStreamCaps& caps) {
    const auto& failing = device_.failingCapabilityIndices;
    if (index < 0 || index >= static_cast<int>(device_.capabilities.size()) ||
        std::find(failing.begin(), failing.end(), index) != failing.end()) {
        return kFail;
    }
    const Capability& capability = device_.capabilities[static_cast<std::size_t>(index)];
    caps = capability.caps;
    format = std::make_unique<MediaType>(device_.defaultFormat);
    format->subtype = capability.subtype;
    format->video.width = capability.caps.maxWidth;
    format->video.height = capability.caps.maxHeight;
    return kOk;
}

Status FakeStreamConfig::getFrameIntervals(const MediaType& format,
                                           std::vector<int64_t>& intervals) {
    intervals.clear();
    for (const OfferedRates& offer : device_.offeredRates) {
        if (offer.width == format.video.width && offer.height == format.video.height &&
            offer.subtype == format.subtype) {
            intervals = offer.intervals;
        }
    }
    return kOk;
}

Status FakeStreamConfig::getStreamedFormat(std::unique_ptr<MediaType>& format) {
    if (!device_.streamedFormat) {
        return kFalse;
    }
    format = std::make_unique<MediaType>(*device_.streamedFormat);
    return kOk;
}

} // namespace fake
