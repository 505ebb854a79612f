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
