#pragma once

#include "capture/SubtypeTable.h"
#include "capture/platform/PlatformTypes.h"

struct CaptureDevice;

// Fixes a device's frame size and, where it can, its media subtype: the
// requested size in each known subtype, then the closest size the device
// advertises, and last the device's own default format. The frame rate asked
// for is a preference: at the size chosen, the device's nearest rate is taken.
class FormatNegotiator {
public:
    struct SizeMatch {
        int32_t width = -1;
        int32_t height = -1;
        platform::Guid subtype;
    };

    explicit FormatNegotiator(const SubtypeTable& subtypes);

    // Always ends with the device's frame size set.
    void negotiate(CaptureDevice& device) const;
    bool trySizeAndSubtype(CaptureDevice& device, int32_t width, int32_t height,
                           const platform::Guid& subtype) const;
    SizeMatch findClosestSize(CaptureDevice& device, int32_t width, int32_t height) const;

private:
    bool tryRequestedSize(CaptureDevice& device) const;
    bool tryClosestSize(CaptureDevice& device) const;
    void fallBackToDefault(CaptureDevice& device, const platform::MediaType& defaultFormat) const;
    int64_t offeredFrameInterval(CaptureDevice& device) const;

    const SubtypeTable& subtypes_;
};
