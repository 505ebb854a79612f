#pragma once

#include "capture/platform/GraphObjects.h"

#include <memory>

class GstFilterGraph;
class GstSourceFilter;

// Finds a source's stream configuration and links source, grabber and
// renderer, inserting what the formats need between them: a caps filter
// holding the source to its chosen format, a JPEG decoder for cameras that
// send JPEG, and a colour converter.
class GstCaptureGraphBuilder : public platform::CaptureGraphBuilder {
public:
    platform::Status setFiltergraph(const std::shared_ptr<platform::FilterGraph>& graph) override;
    platform::Status findStreamConfig(platform::PinCategory category,
                                      const std::shared_ptr<platform::Filter>& source,
                                      std::unique_ptr<platform::StreamConfig>& config) override;
    platform::Status renderStream(platform::PinCategory category,
                                  const std::shared_ptr<platform::Filter>& source,
                                  const std::shared_ptr<platform::Filter>& grabber,
                                  const std::shared_ptr<platform::Filter>& renderer) override;

private:
    std::shared_ptr<GstFilterGraph> graph_;
};

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

private:
    std::shared_ptr<GstSourceFilter> source_;
};
