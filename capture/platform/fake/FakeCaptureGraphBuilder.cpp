#include "capture/platform/fake/FakeCaptureGraphBuilder.h"

#include "capture/platform/fake/FakeFilter.h"
#include "capture/platform/fake/FakePin.h"
#include "capture/platform/fake/FakeStreamConfig.h"

using namespace platform;

namespace fake {

FakeCaptureGraphBuilder::FakeCaptureGraphBuilder(std::shared_ptr<FakeScript> script)
    : script_(std::move(script)) {}

Status FakeCaptureGraphBuilder::setFiltergraph(const std::shared_ptr<FilterGraph>&) {
    return script_->statusOf(Operation::SetFiltergraph);
}

Status FakeCaptureGraphBuilder::findStreamConfig(PinCategory category,
                                                 const std::shared_ptr<Filter>& source,
                                                 std::unique_ptr<StreamConfig>& config) {
    const auto fakeSource = asFakeFilter(source);
    if (!fakeSource || !fakeSource->device()) {
        return kFail;
    }
    FakeDevice& device = *fakeSource->device();
    const bool hasPin =
        category == PinCategory::Preview ? device.hasPreviewPin : device.hasCapturePin;
    const Status status = script_->statusOf(Operation::FindStreamConfig);
    if (!hasPin || !succeeded(status)) {
        return hasPin ? status : kFail;
    }
    config = std::make_unique<FakeStreamConfig>(script_, device);
    return kOk;
}

Status FakeCaptureGraphBuilder::renderStream(PinCategory, const std::shared_ptr<Filter>& source,
                                             const std::shared_ptr<Filter>& grabber,
                                             const std::shared_ptr<Filter>& renderer) {
    const Status status = script_->statusOf(Operation::RenderStream);
    if (!succeeded(status)) {
        return status;
    }
    const auto fakeSource = asFakeFilter(source);
    const auto fakeGrabber = asFakeFilter(grabber);
    const auto fakeRenderer = asFakeFilter(renderer);
    if (!fakeSource || !fakeGrabber || !fakeRenderer) {
        return kFail;
    }
    FakePin::link(fakeSource->outputPin(), fakeGrabber->inputPin());
    FakePin::link(fakeGrabber->outputPin(), fakeRenderer->inputPin());
    return kOk;
}

} // namespace fake
