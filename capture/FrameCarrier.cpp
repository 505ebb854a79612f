#include "capture/FrameCarrier.h"

FrameCarrier::FrameCarrier(std::unique_ptr<I::Image> frame)
    : holder_(std::make_shared<Holder>(frame.release())) {}

FrameCarrier::operator I::Image*() const {
    return holder_ ? holder_->frame.exchange(nullptr) : nullptr;
}
