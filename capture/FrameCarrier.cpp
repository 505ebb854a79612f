#include "capture/FrameCarrier.h"

// The holder, and the frame in it, are freed by the last copy's destructor.
FrameCarrier::FrameCarrier(std::unique_ptr<I::Image> frame) {
    holder_.store(new Holder(frame.release()), std::memory_order_release);
}

FrameCarrier::FrameCarrier(const FrameCarrier& other) {
    Holder* holder = other.holder_.load(std::memory_order_acquire);
    if (holder)
        holder->copies.fetch_add(1, std::memory_order_relaxed);
    holder_.store(holder, std::memory_order_release);
}

FrameCarrier::~FrameCarrier() {
    Holder* holder = holder_.load(std::memory_order_acquire);
    if (holder && holder->copies.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete holder;
}

FrameCarrier::operator I::Image*() const {
    Holder* holder = holder_.load(std::memory_order_acquire);
    return holder ? holder->frame.exchange(nullptr, std::memory_order_acq_rel) : nullptr;
}

// Only the sender puts frames in and receivers only take them out, so a
// frame still in the holder when the exchange is tried was taken by no one;
// once replaced, no receiver can take it any more.
bool FrameCarrier::replaceWaiting(std::unique_ptr<I::Image>& frame) {
    Holder* holder = holder_.load(std::memory_order_acquire);
    if (!holder || holder->copies.load(std::memory_order_acquire) < 2) {
        return false;
    }
    I::Image* waiting = holder->frame.load(std::memory_order_acquire);
    if (!waiting ||
        !holder->frame.compare_exchange_strong(waiting, frame.get(), std::memory_order_acq_rel)) {
        return false;
    }
    frame.release();
    delete waiting;
    return true;
}
