#pragma once

#include "capture/platform/GraphObjects.h"

#include <memory>

namespace fake {
class FakeFilter;

// A pin of a fake filter, linked to at most one other pin.
class FakePin : public platform::Pin {
public:
    FakePin(platform::PinDirection direction, const std::weak_ptr<FakeFilter>& owner);

    platform::Status connectedTo(std::shared_ptr<platform::Pin>& peer) override;
    platform::Status queryPinInfo(platform::PinDirection& direction,
                                  std::shared_ptr<platform::Filter>& owner) override;

    static void link(const std::shared_ptr<FakePin>& output, const std::shared_ptr<FakePin>& input);
    void unlink() { peer_.reset(); }

private:
    platform::PinDirection direction_;
    std::weak_ptr<FakeFilter> owner_;
    std::weak_ptr<FakePin> peer_;
};

} // namespace fake
