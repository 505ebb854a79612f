#pragma once

#include "capture/Image.h"

#include <QMetaType>

#include <atomic>
#include <memory>

// Carries one captured frame through a signal and owns it until a receiver
// takes it. A queued signal copies its arguments into an event, and that
// event may be deleted undelivered: when its receiver is destroyed first, or
// when the application ends with the event still queued. The frame is then
// freed with the last copy of its carrier, so it is freed exactly once
// whatever the order of teardown.
//
// A receiver declares a plain I::Image* parameter: the carrier converts to
// it and the receiver owns the frame from then on. Only the first receiver
// gets the frame; any later one gets null.
class FrameCarrier {
public:
    // An empty carrier, as the signal machinery needs to build one.
    FrameCarrier() = default;
    explicit FrameCarrier(std::unique_ptr<I::Image> frame);
    FrameCarrier(const FrameCarrier& other);
    FrameCarrier& operator=(const FrameCarrier&) = delete;
    ~FrameCarrier();

    // Hands the frame over, once; the caller must free it.
    operator I::Image*() const;

    // While another copy of this carrier, queued for a receiver, still holds
    // its frame untaken, puts frame in its place, frees the one it held and
    // returns true: the receiver, when it gets to it, takes the newer frame.
    // Otherwise returns false and leaves frame with the caller.
    bool replaceWaiting(std::unique_ptr<I::Image>& frame);

private:
    // One frame shared by every copy of the carrier, and how many copies
    // there are; the last copy to go frees it.
    struct Holder {
        explicit Holder(I::Image* held)
            : frame(held) {}
        ~Holder() { delete frame.load(std::memory_order_acquire); }
        Holder(const Holder&) = delete;
        Holder& operator=(const Holder&) = delete;

        std::atomic<I::Image*> frame;
        std::atomic<int> copies{1};
    };

    // The copies a queued signal makes cross to the receiver's thread inside
    // Qt's event queue, whose locking a thread checker cannot see. Every
    // access to the holder is therefore an atomic release or acquire, which
    // orders the frame's pixels, written by the capture thread, before their
    // reading in the receiver's, in a way both the compiler and the checker
    // see.
    std::atomic<Holder*> holder_{nullptr};
};

Q_DECLARE_METATYPE(FrameCarrier)
