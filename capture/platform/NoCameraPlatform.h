#pragma once

#include "capture/platform/CapturePlatform.h"

// A platform on which no camera is ever found.
class NoCameraPlatform : public CapturePlatform {
public:
    platform::Status initRuntime() override { return platform::kOk; }
    void shutdownRuntime() override {}
    platform::Status
    videoInputDevices(std::vector<std::unique_ptr<platform::DeviceMoniker>>& devices) override;
    platform::Status
    createCaptureGraphBuilder(std::unique_ptr<platform::CaptureGraphBuilder>& builder) override;
    platform::Status createFilterGraph(std::shared_ptr<platform::FilterGraph>& graph) override;
    platform::Status createSampleGrabber(std::shared_ptr<platform::Filter>& grabber) override;
    platform::Status createNullRenderer(std::shared_ptr<platform::Filter>& renderer) override;
    void addDemoCamera() override {}
    void addVideoFile(const std::string&) override {}
};
