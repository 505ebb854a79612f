#include "capture/platform/fake/FakeDevice.h"

#include "capture/platform/fake/FakeControlBoard.h"

#include <algorithm>
#include <cstdlib>

using namespace platform;

namespace fake {

namespace {
constexpr int32_t kDefaultWidth = 640;
constexpr int32_t kDefaultHeight = 480;
} // namespace

FakeDevice::FakeDevice(const std::u16string& friendlyName)
    : friendlyName(friendlyName) {
    defaultFormat.majorType = kMediaTypeVideo;
    defaultFormat.subtype = subtype::kYuy2;
    defaultFormat.formatType = kFormatVideoInfo;
    defaultFormat.video.width = kDefaultWidth;
    defaultFormat.video.height = kDefaultHeight;
}

bool FakeDevice::accepts(const MediaType& format) const {
    const auto sameSize = [&format](int32_t width, int32_t height, const Guid& subtype) {
        return width == format.video.width && height == format.video.height &&
               subtype == format.subtype;
    };
    const bool anySize = std::find(anySizeSubtypes.begin(), anySizeSubtypes.end(),
                                   format.subtype) != anySizeSubtypes.end();
    const bool listed =
        std::any_of(acceptedFormats.begin(), acceptedFormats.end(),
                    [&sameSize](const AcceptedFormat& accepted) {
                        return sameSize(accepted.width, accepted.height, accepted.subtype);
                    });
    const bool atOfferedRate =
        std::any_of(offeredRates.begin(), offeredRates.end(), [&](const OfferedRates& offer) {
            // Like a driver, it takes a time per frame rounded either way.
            const auto sameRate = [&format](int64_t interval) {
                return std::llabs(interval - format.video.averageTimePerFrame) <= 1;
            };
            return sameSize(offer.width, offer.height, offer.subtype) &&
                   std::any_of(offer.intervals.begin(), offer.intervals.end(), sameRate);
        });
    return anySize || listed || atOfferedRate;
}

FakeDevice& FakeDevice::acceptAnySize(const Guid& subtype) {
    anySizeSubtypes.push_back(subtype);
    return *this;
}

FakeDevice& FakeDevice::accept(int32_t width, int32_t height, const Guid& subtype) {
    acceptedFormats.push_back(AcceptedFormat{width, height, subtype});
    return *this;
}

FakeDevice& FakeDevice::offer(const VideoStreamCaps& caps, const Guid& subtype) {
    capabilities.push_back(Capability{caps, subtype});
    return *this;
}

FakeDevice& FakeDevice::acceptRates(int32_t width, int32_t height, const Guid& subtype,
                                    std::vector<int64_t> intervals) {
    offeredRates.push_back(OfferedRates{width, height, subtype, std::move(intervals)});
    return *this;
}

FakeDevice& FakeDevice::withControls(const std::string& busPath,
                                     std::vector<CameraControl> scripted) {
    controls = std::make_shared<FakeControlBoard>(busPath, std::move(scripted));
    return *this;
}

} // namespace fake
