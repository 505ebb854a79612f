#pragma once

#include "capture/platform/GraphObjects.h"
#include "capture/platform/fake/FakeScript.h"

#include <memory>

namespace fake {

// The stream of a fake device: accepts exactly the formats the device was
// scripted to accept, and lists its scripted capabilities.
class FakeStreamConfig : public platform::StreamConfig {
public:
    FakeStreamConfig(std::shared_ptr<FakeScript> script, FakeDevice& device);

    platform::Status getFormat(std::unique_ptr<platform::MediaType>& format) override;
    platform::Status setFormat(const platform::MediaType& format) override;
    platform::Status getNumberOfCapabilities(int& count, int& recordSize) override;
    platform::Status getStreamCaps(int index, std::unique_ptr<platform::MediaType>& format,
                                   platform::VideoStreamCaps& caps) override;
    platform::Status getFrameIntervals(const platform::MediaType& format,
                                       std::vector<int64_t>& intervals) override;
    platform::Status getStreamedFormat(std::unique_ptr<platform::MediaType>& format) override;

private:
    std::shared_ptr<FakeScript> script_;
    FakeDevice& device_;
    platform::MediaType currentFormat_;
};

} // namespace fake
