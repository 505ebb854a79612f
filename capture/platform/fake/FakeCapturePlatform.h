#pragma once

#include "capture/platform/CapturePlatform.h"
#include "capture/platform/fake/FakeScript.h"

#include <QMutex>
#include <memory>
#include <string>
#include <vector>

namespace fake {
class FakeFilterGraph;
}

// A capture platform for tests: devices, their names, pins, formats and
// capabilities are scripted, any single operation can be told to fail, and a
// test pushes samples of any length from a thread of its own.
//
//     auto platform = std::make_unique<FakeCapturePlatform>();
//     platform->addDevice("Front camera").acceptAnySize(platform::subtype::kRgb24);
//     FakeCapturePlatform& fake = *platform;
//     VideoInputThr thread(std::move(platform));
class FakeCapturePlatform : public CapturePlatform {
public:
    FakeCapturePlatform();
    // A platform with one device per name, each accepting any size in RGB24.
    static std::unique_ptr<FakeCapturePlatform> withDevices(const std::vector<std::string>& names);

    // Names are taken as Latin-1. Adding and unplugging tell the watcher of
    // the devices, on the calling thread.
    fake::FakeDevice& addDevice(const std::string& name);
    void unplugDevice(int index);
    // Takes the demo camera and video files out of the list, as a new run of
    // the program starts without them.
    void removeOwnSources();
    // Every device ever added, unplugged ones included, in the order added.
    fake::FakeDevice& device(int index);
    void fail(fake::Operation operation, platform::Status status = platform::kFail);
    void clearFailures();

    // Hands a sample to the callback of the newest running graph, on the
    // calling thread. False when no graph runs with a callback registered.
    // The sample says it was captured at captureNanoseconds on the monotonic
    // clock, or, like a source without timestamps, nothing when negative.
    bool pushSample(const std::vector<uint8_t>& sample, int64_t captureNanoseconds = -1);
    bool isStreaming();
    // Ends the newest running graph's stream with the given reason.
    void failStream(const std::string& why);
    int runtimeStarts() const { return runtimeStarts_; }
    int runtimeStops() const { return runtimeStops_; }

    platform::Status initRuntime() override;
    void shutdownRuntime() override;
    platform::Status
    videoInputDevices(std::vector<std::unique_ptr<platform::DeviceMoniker>>& devices) override;
    platform::Status
    createCaptureGraphBuilder(std::unique_ptr<platform::CaptureGraphBuilder>& builder) override;
    platform::Status createFilterGraph(std::shared_ptr<platform::FilterGraph>& graph) override;
    platform::Status createSampleGrabber(std::shared_ptr<platform::Filter>& grabber) override;
    platform::Status createNullRenderer(std::shared_ptr<platform::Filter>& renderer) override;
    void addDemoCamera() override;
    void addVideoFile(const std::string& path) override;
    void watchDevices(std::function<void()> devicesChanged) override;

private:
    std::shared_ptr<fake::FakeFilterGraph> newestRunningGraph();
    void tellWatcher();

    std::shared_ptr<fake::FakeScript> script_;
    int runtimeStarts_ = 0;
    int runtimeStops_ = 0;
    // Guards graphs_, read by the test's sample thread.
    QMutex graphsLock_;
    std::vector<std::weak_ptr<fake::FakeFilterGraph>> graphs_;
    // Set and called on the thread that scripts the devices.
    std::function<void()> devicesChanged_;
};
