#pragma once

#include "capture/platform/GraphObjects.h"
#include "capture/platform/fake/FakePin.h"
#include "capture/platform/fake/FakeSampleGrabber.h"
#include "capture/platform/fake/FakeScript.h"

#include <memory>

namespace fake {

// A fake source, sample grabber or null renderer, with the pins its kind
// has.
class FakeFilter : public platform::Filter, public std::enable_shared_from_this<FakeFilter> {
public:
    enum class Kind { Source, Grabber, Renderer };

    static std::shared_ptr<FakeFilter> make(Kind kind, std::shared_ptr<FakeScript> script,
                                            FakeDevice* device = nullptr);

    platform::Status queryFilterName(std::u16string& name) override;
    platform::Status enumPins(std::vector<std::shared_ptr<platform::Pin>>& pins) override;
    platform::Status querySampleGrabber(std::shared_ptr<platform::SampleGrabber>& grabber) override;

    Kind kind() const { return kind_; }
    FakeDevice* device() const { return device_; }
    std::shared_ptr<FakePin> inputPin() const { return input_; }
    std::shared_ptr<FakePin> outputPin() const { return output_; }
    std::shared_ptr<FakeSampleGrabber> grabber() const { return grabber_; }
    void setName(const std::u16string& name) { name_ = name; }

private:
    FakeFilter(Kind kind, std::shared_ptr<FakeScript> script, FakeDevice* device);

    Kind kind_;
    std::shared_ptr<FakeScript> script_;
    FakeDevice* device_;
    std::u16string name_;
    std::shared_ptr<FakePin> input_;
    std::shared_ptr<FakePin> output_;
    std::shared_ptr<FakeSampleGrabber> grabber_;
};

// The fake behind a filter the layer hands back; null for any other filter.
inline std::shared_ptr<FakeFilter> asFakeFilter(const std::shared_ptr<platform::Filter>& filter) {
    return std::dynamic_pointer_cast<FakeFilter>(filter);
}

} // namespace fake
