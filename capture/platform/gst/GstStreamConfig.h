#pragma once

#include "capture/platform/GraphObjects.h"

#include <memory>

class GstSourceFilter;

// The stream configuration of a pipeline source: its formats are accepted
// exactly when the source can produce them.
class GstStreamConfig : public platform::StreamConfig {
public:
    explicit GstStreamConfig(std::shared_ptr<GstSourceFilter> source);

    platform::Status getFormat(std::unique_ptr<platform::MediaType>& format) override;
    platform::Status setFormat(const platform::MediaType& format) override;
    platform::Status getNumberOfCapabilities(int& count, int& recordSize) override;
    platform::Status getStreamCaps(int index, std::unique_ptr<platform::MediaType>& format,
                                   platform::VideoStreamCaps& caps) override;
    platform::Status getFrameIntervals(const platform::MediaType& format,
                                       std::vector<int64_t>& intervals) override;
    platform::Status getStreamedFormat(std::unique_ptr<platform::MediaType>& format) override;

private:
    std::shared_ptr<GstSourceFilter> source_;
};
