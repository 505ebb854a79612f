#include "capture/platform/fake/FakeDevice.h"

#include <algorithm>

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
    const bool anySize = std::find(anySizeSubtypes.begin(), anySizeSubtypes.end(),
                                   format.subtype) != anySizeSubtypes.end();
    return anySize || std::any_of(acceptedFormats.begin(), acceptedFormats.end(),
                                  [&format](const AcceptedFormat& accepted) {
                                      return accepted.width == format.video.width &&
                                             accepted.height == format.video.height &&
                                             accepted.subtype == format.subtype;
                                  });
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

} // namespace fake
