#include "capture/platform/fake/FakeFilter.h"

using namespace platform;

namespace fake {

FakeFilter::FakeFilter(Kind kind, std::shared_ptr<FakeScript> script, FakeDevice* device)
    : kind_(kind)
    , script_(std::move(script))
    , device_(device) {}

std::shared_ptr<FakeFilter> FakeFilter::make(Kind kind, std::shared_ptr<FakeScript> script,
                                             FakeDevice* device) {
    std::shared_ptr<FakeFilter> filter(new FakeFilter(kind, script, device));
    if (kind != Kind::Source) {
        filter->input_ = std::make_shared<FakePin>(PinDirection::Input, filter);
    }
    if (kind != Kind::Renderer) {
        filter->output_ = std::make_shared<FakePin>(PinDirection::Output, filter);
    }
    if (kind == Kind::Grabber) {
        filter->grabber_ = std::make_shared<FakeSampleGrabber>(script);
    }
    return filter;
}

Status FakeFilter::queryFilterName(std::u16string& name) {
    name = name_;
    return kOk;
}

Status FakeFilter::enumPins(std::vector<std::shared_ptr<Pin>>& pins) {
    pins.clear();
    for (const auto& pin : {input_, output_}) {
        if (pin) {
            pins.push_back(pin);
        }
    }
    return kOk;
}

Status FakeFilter::querySampleGrabber(std::shared_ptr<SampleGrabber>& grabber) {
    const Status status = script_->statusOf(Operation::QuerySampleGrabber);
    if (!grabber_ || !succeeded(status)) {
        return grabber_ ? status : kFail;
    }
    grabber = grabber_;
    return kOk;
}

} // namespace fake
