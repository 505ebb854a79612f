#pragma once

#include "capture/platform/GraphObjects.h"
#include "capture/platform/fake/FakeScript.h"

#include <memory>

namespace fake {

// Finds a fake device's stream by its pins and links source, grabber and
// renderer.
class FakeCaptureGraphBuilder : public platform::CaptureGraphBuilder {
public:
    explicit FakeCaptureGraphBuilder(std::shared_ptr<FakeScript> script);

    platform::Status setFiltergraph(const std::shared_ptr<platform::FilterGraph>& graph) override;
    platform::Status findStreamConfig(platform::PinCategory category,
                                      const std::shared_ptr<platform::Filter>& source,
                                      std::unique_ptr<platform::StreamConfig>& config) override;
    platform::Status renderStream(platform::PinCategory category,
                                  const std::shared_ptr<platform::Filter>& source,
                                  const std::shared_ptr<platform::Filter>& grabber,
                                  const std::shared_ptr<platform::Filter>& renderer) override;

private:
    std::shared_ptr<FakeScript> script_;
};

} // namespace fake
