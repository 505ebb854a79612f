#include "capture/FormatNegotiator.h"

#include "capture/CaptureConsole.h"
#include "capture/CaptureDevice.h"

#include <cstdlib>

using namespace platform;

namespace {
constexpr int32_t kBytesPerPixel = 3;
// Worse than any real size, so the first usable capability always wins.
constexpr int32_t kNoSizeYet = 9999999;
constexpr int32_t kNoCandidateYet = 999999;

struct AxisCandidate {
    int32_t value = kNoCandidateYet;
    bool exact = false;
};

// The value of min, min + step, ... max closest to wanted; the first of
// equally close values wins.
AxisCandidate closestOnAxis(int32_t wanted, int32_t minimum, int32_t maximum, int32_t step) {
    AxisCandidate candidate;
    for (int32_t value = minimum; value <= maximum; value += step) {
        if (value == wanted) {
            candidate.exact = true;
            candidate.value = value;
        } else if (std::abs(wanted - value) < std::abs(wanted - candidate.value)) {
            candidate.value = value;
        }
    }
    return candidate;
}
} // namespace

FormatNegotiator::FormatNegotiator(const SubtypeTable& subtypes)
    : subtypes_(subtypes) {}

void FormatNegotiator::negotiate(CaptureDevice& device) const {
    const int32_t defaultWidth = device.mediaType->video.width;
    const int32_t defaultHeight = device.mediaType->video.height;
    printCaptureLine("SETUP: Default Format is set to %i by %i \n", defaultWidth, defaultHeight);
    if (tryRequestedSize(device) || tryClosestSize(device)) {
        return;
    }
    fallBackToDefault(device, defaultWidth, defaultHeight);
}

bool FormatNegotiator::tryRequestedSize(CaptureDevice& device) const {
    for (const SubtypeTable::Row& row : subtypes_.rows()) {
        printCaptureLine("SETUP: trying format %s @ %i by %i\n", row.name, device.requestedWidth,
                         device.requestedHeight);
        if (trySizeAndSubtype(device, device.requestedWidth, device.requestedHeight, row.subtype)) {
            device.setFrameSize(device.requestedWidth, device.requestedHeight);
            return true;
        }
    }
    return false;
}

bool FormatNegotiator::tryClosestSize(CaptureDevice& device) const {
    printCaptureLine("SETUP: couldn't find requested size - searching for closest matching size\n");
    const SizeMatch closest =
        findClosestSize(device, device.requestedWidth, device.requestedHeight);
    if (closest.width == -1 || closest.height == -1) {
        return false;
    }
    printCaptureLine("SETUP: closest supported size is %s @ %i %i\n",
                     subtypes_.name(closest.subtype), closest.width, closest.height);
    if (!trySizeAndSubtype(device, closest.width, closest.height, closest.subtype)) {
        return false;
    }
    device.setFrameSize(closest.width, closest.height);
    return true;
}

// The media type still carries the size and subtype of the last attempt; only
// the frame rate is asked for once more, and whether the device takes it does
// not matter.
void FormatNegotiator::fallBackToDefault(CaptureDevice& device, int32_t defaultWidth,
                                         int32_t defaultHeight) const {
    if (device.frameInterval != -1) {
        device.mediaType->video.averageTimePerFrame = device.frameInterval;
        device.streamConfig->setFormat(*device.mediaType);
    }
    device.setFrameSize(defaultWidth, defaultHeight);
}

bool FormatNegotiator::trySizeAndSubtype(CaptureDevice& device, int32_t width, int32_t height,
                                         const Guid& subtype) const {
    std::unique_ptr<MediaType> saved;
    if (device.streamConfig->getFormat(saved) != kOk || !saved) {
        return false;
    }
    MediaType& type = *device.mediaType;
    type.video.width = width;
    type.video.height = height;
    type.formatType = kFormatVideoInfo;
    type.majorType = kMediaTypeVideo;
    type.subtype = subtype;
    type.sampleSize = width * height * kBytesPerPixel;
    if (device.frameInterval != -1) {
        type.video.averageTimePerFrame = device.frameInterval;
    }
    if (device.streamConfig->setFormat(type) == kOk) {
        return true;
    }
    // Put the device back into the format it had before the attempt.
    device.streamConfig->setFormat(*saved);
    return false;
}

FormatNegotiator::SizeMatch FormatNegotiator::findClosestSize(CaptureDevice& device, int32_t width,
                                                              int32_t height) const {
    SizeMatch result;
    int32_t bestWidth = kNoSizeYet;
    int32_t bestHeight = kNoSizeYet;
    int capabilityCount = 0;
    int recordSize = 0;
    device.streamConfig->getNumberOfCapabilities(capabilityCount, recordSize);
    if (recordSize != kVideoStreamCapsRecordSize) {
        return result;
    }
    for (int index = 0; index < capabilityCount; ++index) {
        std::unique_ptr<MediaType> format;
        VideoStreamCaps caps;
        if (!succeeded(device.streamConfig->getStreamCaps(index, format, caps)) || !format) {
            continue;
        }
        if (caps.granularityX < 1 || caps.granularityY < 1) {
            continue;
        }
        const AxisCandidate x =
            closestOnAxis(width, caps.minWidth, caps.maxWidth, caps.granularityX);
        const AxisCandidate y =
            closestOnAxis(height, caps.minHeight, caps.maxHeight, caps.granularityY);
        if (x.exact && y.exact) {
            return SizeMatch{width, height, format->subtype};
        }
        if (std::abs(height - y.value) + std::abs(width - x.value) <
            std::abs(height - bestHeight) + std::abs(width - bestWidth)) {
            bestWidth = x.value;
            bestHeight = y.value;
            result = SizeMatch{x.value, y.value, format->subtype};
        }
    }
    return result;
}
