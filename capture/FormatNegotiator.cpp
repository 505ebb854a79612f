#include "capture/FormatNegotiator.h"

#include "capture/CaptureConsole.h"
#include "capture/CaptureDevice.h"

#include <cmath>
#include <cstdlib>
#include <vector>

using namespace platform;

namespace {
constexpr int32_t kBytesPerPixel = 3;
// Worse than any real size, so the first usable capability always wins.
constexpr int32_t kNoSizeYet = 9999999;
constexpr int32_t kNoCandidateYet = 999999;
constexpr double kHundredNanosecondsPerSecond = 10000000.0;
// Sources round a time per frame each their own way (666,666 or 666,667 for
// 15 fps); rates this close are the same rate.
constexpr double kSameRateTolerance = 0.01;

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

double framesPerSecond(int64_t interval) {
    return kHundredNanosecondsPerSecond / double(interval);
}

// Rates are compared as frames per second, the way users think of them; of
// two equally near rates the faster wins, since a frame can be dropped but
// not made up.
int64_t nearestInterval(int64_t wanted, const std::vector<int64_t>& offered) {
    int64_t nearest = wanted;
    double nearestDistance = HUGE_VAL;
    for (int64_t interval : offered) {
        if (interval <= 0) {
            continue;
        }
        const double distance = std::fabs(framesPerSecond(interval) - framesPerSecond(wanted));
        if (distance < nearestDistance || (distance == nearestDistance && interval < nearest)) {
            nearest = interval;
            nearestDistance = distance;
        }
    }
    return nearestDistance < kSameRateTolerance ? wanted : nearest;
}

// Whole rates print as such, others with two decimals at most (29.97, 12.5).
double printableRate(int64_t interval) {
    return std::round(framesPerSecond(interval) * 100.0) / 100.0;
}
} // namespace

FormatNegotiator::FormatNegotiator(const SubtypeTable& subtypes)
    : subtypes_(subtypes) {}

void FormatNegotiator::negotiate(CaptureDevice& device) const {
    const MediaType defaultFormat = *device.mediaType;
    printCaptureLine("SETUP: Default Format is set to %i by %i \n", defaultFormat.video.width,
                     defaultFormat.video.height);
    if (tryRequestedSize(device) || tryClosestSize(device)) {
        return;
    }
    fallBackToDefault(device, defaultFormat);
}

bool FormatNegotiator::tryRequestedSize(CaptureDevice& device) const {
    for (const SubtypeTable::Row& row : subtypes_.rows()) {
        printCaptureLine("SETUP: trying format %s @ %i by %i\n", row.name, device.requestedWidth,
                         device.requestedHeight);
        if (trySizeAndSubtype(device, device.requestedWidth, device.requestedHeight, row.subtype)) {
            device.setFrameSize(device.requestedWidth, device.requestedHeight);
            device.frameSubtype = row.subtype;
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
    device.frameSubtype = closest.subtype;
    return true;
}

// The media type still carries the size and subtype of the last attempt; only
// the frame rate is asked for once more, and whether the device takes it does
// not matter.
void FormatNegotiator::fallBackToDefault(CaptureDevice& device,
                                         const MediaType& defaultFormat) const {
    if (device.frameInterval != -1) {
        device.mediaType->video.averageTimePerFrame = device.frameInterval;
        device.streamConfig->setFormat(*device.mediaType);
    }
    device.setFrameSize(defaultFormat.video.width, defaultFormat.video.height);
    device.frameSubtype = defaultFormat.subtype;
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
        type.video.averageTimePerFrame = offeredFrameInterval(device);
    }
    if (device.streamConfig->setFormat(type) == kOk) {
        if (device.frameInterval != -1 && type.video.averageTimePerFrame != device.frameInterval) {
            printCaptureLine("SETUP: %g fps not offered at %i by %i - using %g fps\n",
                             printableRate(device.frameInterval), width, height,
                             printableRate(type.video.averageTimePerFrame));
        }
        return true;
    }
    // Put the device back into the format it had before the attempt.
    device.streamConfig->setFormat(*saved);
    return false;
}

// The rate asked for is only a preference: a size is never given up because
// the device cannot deliver it at that rate. The device's media type already
// carries the size and subtype being tried.
int64_t FormatNegotiator::offeredFrameInterval(CaptureDevice& device) const {
    MediaType wanted = *device.mediaType;
    wanted.video.averageTimePerFrame = device.frameInterval;
    std::vector<int64_t> offered;
    if (!succeeded(device.streamConfig->getFrameIntervals(wanted, offered))) {
        return device.frameInterval;
    }
    return nearestInterval(device.frameInterval, offered);
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
