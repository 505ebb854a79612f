#pragma once

#include "capture/platform/CameraControls.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fake {

class FakeControlBoard;

struct AcceptedFormat {
    int32_t width;
    int32_t height;
    platform::Guid subtype;
};

struct Capability {
    platform::VideoStreamCaps caps;
    platform::Guid subtype;
};

// The times per frame a device offers at one size in one subtype.
struct OfferedRates {
    int32_t width;
    int32_t height;
    platform::Guid subtype;
    std::vector<int64_t> intervals;
};

// One scripted device: its names, pins, formats and capabilities.
struct FakeDevice {
    explicit FakeDevice(const std::u16string& friendlyName);

    bool accepts(const platform::MediaType& format) const;
    // Accepts every size with the given subtype.
    FakeDevice& acceptAnySize(const platform::Guid& subtype);
    FakeDevice& accept(int32_t width, int32_t height, const platform::Guid& subtype);
    FakeDevice& offer(const platform::VideoStreamCaps& caps, const platform::Guid& subtype);
    // Accepts the size in the subtype at exactly these times per frame.
    FakeDevice& acceptRates(int32_t width, int32_t height, const platform::Guid& subtype,
                            std::vector<int64_t> intervals);
    // Gives the device these controls, attached at busPath.
    FakeDevice& withControls(const std::string& busPath,
                             std::vector<platform::CameraControl> controls);

    std::u16string friendlyName;
    std::u16string description;
    bool hasFriendlyName = true;
    bool hasDescription = false;
    bool propertyStoreOpens = true;
    bool bindSucceeds = true;
    // An unplugged device is no longer listed; the record stays, since
    // monikers and filters made earlier still refer to it.
    bool pluggedIn = true;
    bool hasPreviewPin = true;
    bool hasCapturePin = true;
    platform::MediaType defaultFormat;
    std::vector<AcceptedFormat> acceptedFormats;
    std::vector<platform::Guid> anySizeSubtypes;
    std::vector<Capability> capabilities;
    int capabilityRecordSize = platform::kVideoStreamCapsRecordSize;
    std::vector<int> failingCapabilityIndices;
    std::vector<OfferedRates> offeredRates;
    // What the running stream carries, as a driver that ignores the format
    // set would; unset, the stream does not tell.
    std::optional<platform::MediaType> streamedFormat;
    // Every format the layer submitted, accepted or not, in order.
    std::vector<platform::MediaType> submittedFormats;
    // Null for a device without controls.
    std::shared_ptr<FakeControlBoard> controls;
};

} // namespace fake
