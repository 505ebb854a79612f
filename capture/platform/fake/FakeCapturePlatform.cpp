#include "capture/platform/fake/FakeCapturePlatform.h"

#include "capture/platform/fake/FakeCameraControls.h"
#include "capture/platform/fake/FakeCaptureGraphBuilder.h"
#include "capture/platform/fake/FakeFilter.h"
#include "capture/platform/fake/FakeFilterGraph.h"

using namespace platform;
using namespace fake;

namespace {
constexpr double kSecondsPerNanosecond = 1e-9;

class FakePropertyStore : public PropertyStore {
public:
    explicit FakePropertyStore(const FakeDevice& device)
        : device_(device) {}

    Status read(const std::string& property, std::u16string& value) override {
        if (property == "FriendlyName" && device_.hasFriendlyName) {
            value = device_.friendlyName;
            return kOk;
        }
        if (property == "Description" && device_.hasDescription) {
            value = device_.description;
            return kOk;
        }
        return kFail;
    }

private:
    const FakeDevice& device_;
};

class FakeMoniker : public DeviceMoniker {
public:
    FakeMoniker(std::shared_ptr<FakeScript> script, FakeDevice& device)
        : script_(std::move(script))
        , device_(device) {}

    Status openPropertyStore(std::unique_ptr<PropertyStore>& store) override {
        if (!device_.propertyStoreOpens) {
            return kFail;
        }
        store = std::make_unique<FakePropertyStore>(device_);
        return kOk;
    }
    Status bindSourceFilter(std::shared_ptr<Filter>& source) override {
        if (!device_.bindSucceeds) {
            return kFail;
        }
        source = FakeFilter::make(FakeFilter::Kind::Source, script_, &device_);
        return kOk;
    }
    Status openControls(std::unique_ptr<CameraControls>& controls) override {
        if (!device_.controls) {
            return kNoInterface;
        }
        controls = std::make_unique<FakeCameraControls>(device_.controls);
        return kOk;
    }

private:
    std::shared_ptr<FakeScript> script_;
    FakeDevice& device_;
};

std::u16string fromLatin1(const std::string& text) {
    std::u16string wide;
    for (char byte : text) {
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
    }
    return wide;
}
} // namespace

FakeCapturePlatform::FakeCapturePlatform()
    : script_(std::make_shared<FakeScript>()) {}

std::unique_ptr<FakeCapturePlatform>
FakeCapturePlatform::withDevices(const std::vector<std::string>& names) {
    auto platform = std::make_unique<FakeCapturePlatform>();
    for (const std::string& name : names) {
        platform->addDevice(name).acceptAnySize(subtype::kRgb24);
    }
    return platform;
}

FakeDevice& FakeCapturePlatform::addDevice(const std::string& name) {
    script_->devices.emplace_back(fromLatin1(name));
    tellWatcher();
    return script_->devices.back();
}

void FakeCapturePlatform::unplugDevice(int index) {
    device(index).pluggedIn = false;
    tellWatcher();
}

void FakeCapturePlatform::tellWatcher() {
    if (devicesChanged_) {
        devicesChanged_();
    }
}

void FakeCapturePlatform::watchDevices(std::function<void()> devicesChanged) {
    devicesChanged_ = std::move(devicesChanged);
}

void FakeCapturePlatform::removeOwnSources() {
    for (FakeDevice& source : script_->ownSources) {
        source.pluggedIn = false;
    }
}

FakeDevice& FakeCapturePlatform::device(int index) {
    return script_->devices.at(static_cast<std::size_t>(index));
}

void FakeCapturePlatform::fail(Operation operation, Status status) {
    script_->fail(operation, status);
}

void FakeCapturePlatform::clearFailures() {
    script_->clearFailures();
}

std::shared_ptr<FakeFilterGraph> FakeCapturePlatform::newestRunningGraph() {
    QMutexLocker locker(&graphsLock_);
    for (auto graph = graphs_.rbegin(); graph != graphs_.rend(); ++graph) {
        auto alive = graph->lock();
        if (alive && alive->isRunning()) {
            return alive;
        }
    }
    return nullptr;
}

bool FakeCapturePlatform::pushSample(const std::vector<uint8_t>& sample,
                                     int64_t captureNanoseconds) {
    const auto graph = newestRunningGraph();
    const auto grabberFilter = graph ? graph->filterOfKind(FakeFilter::Kind::Grabber) : nullptr;
    const double sampleTime =
        captureNanoseconds < 0 ? -1.0 : double(captureNanoseconds) * kSecondsPerNanosecond;
    return grabberFilter && grabberFilter->grabber()->deliver(sample, sampleTime);
}

bool FakeCapturePlatform::isStreaming() {
    const auto graph = newestRunningGraph();
    const auto grabberFilter = graph ? graph->filterOfKind(FakeFilter::Kind::Grabber) : nullptr;
    return grabberFilter && grabberFilter->grabber()->hasCallback();
}

void FakeCapturePlatform::failStream(const std::string& why) {
    if (const auto graph = newestRunningGraph()) {
        graph->failStream(why);
    }
}

Status FakeCapturePlatform::initRuntime() {
    ++runtimeStarts_;
    return script_->statusOf(Operation::InitRuntime);
}

void FakeCapturePlatform::shutdownRuntime() {
    ++runtimeStops_;
}

Status
FakeCapturePlatform::videoInputDevices(std::vector<std::unique_ptr<DeviceMoniker>>& devices) {
    const Status status = script_->statusOf(Operation::VideoInputDevices);
    if (!succeeded(status)) {
        return status;
    }
    for (std::deque<FakeDevice>* listed : {&script_->devices, &script_->ownSources}) {
        for (FakeDevice& device : *listed) {
            if (device.pluggedIn) {
                devices.push_back(std::make_unique<FakeMoniker>(script_, device));
            }
        }
    }
    return devices.empty() ? kFalse : kOk;
}

Status
FakeCapturePlatform::createCaptureGraphBuilder(std::unique_ptr<CaptureGraphBuilder>& builder) {
    const Status status = script_->statusOf(Operation::CreateCaptureGraphBuilder);
    if (succeeded(status)) {
        builder = std::make_unique<FakeCaptureGraphBuilder>(script_);
    }
    return status;
}

Status FakeCapturePlatform::createFilterGraph(std::shared_ptr<FilterGraph>& graph) {
    const Status status = script_->statusOf(Operation::CreateFilterGraph);
    if (succeeded(status)) {
        auto fakeGraph = std::make_shared<FakeFilterGraph>(script_);
        QMutexLocker locker(&graphsLock_);
        graphs_.push_back(fakeGraph);
        graph = fakeGraph;
    }
    return status;
}

Status FakeCapturePlatform::createSampleGrabber(std::shared_ptr<Filter>& grabber) {
    const Status status = script_->statusOf(Operation::CreateSampleGrabber);
    if (succeeded(status)) {
        grabber = FakeFilter::make(FakeFilter::Kind::Grabber, script_);
    }
    return status;
}

Status FakeCapturePlatform::createNullRenderer(std::shared_ptr<Filter>& renderer) {
    const Status status = script_->statusOf(Operation::CreateNullRenderer);
    if (succeeded(status)) {
        renderer = FakeFilter::make(FakeFilter::Kind::Renderer, script_);
    }
    return status;
}

void FakeCapturePlatform::addDemoCamera() {
    script_->ownSources.emplace_back(fromLatin1("Demo camera")).acceptAnySize(subtype::kRgb24);
}

void FakeCapturePlatform::addVideoFile(const std::string& path) {
    script_->ownSources.emplace_back(fromLatin1(path.substr(path.find_last_of('/') + 1)))
        .acceptAnySize(subtype::kRgb24);
}
