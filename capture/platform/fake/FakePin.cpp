#include "capture/platform/fake/FakePin.h"

#include "capture/platform/fake/FakeFilter.h"

using namespace platform;

namespace fake {

FakePin::FakePin(PinDirection direction, const std::weak_ptr<FakeFilter>& owner)
    : direction_(direction)
    , owner_(owner) {}

Status FakePin::connectedTo(std::shared_ptr<Pin>& peer) {
    peer = peer_.lock();
    return peer ? kOk : kFail;
}

Status FakePin::queryPinInfo(PinDirection& direction, std::shared_ptr<Filter>& owner) {
    direction = direction_;
    owner = owner_.lock();
    return kOk;
}

void FakePin::link(const std::shared_ptr<FakePin>& output, const std::shared_ptr<FakePin>& input) {
    output->peer_ = input;
    input->peer_ = output;
}

} // namespace fake
