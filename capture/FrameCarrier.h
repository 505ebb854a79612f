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

    // Hands the frame over, once; the caller must free it.
    operator I::Image*() const;

private:
    // One frame shared by every copy of the carrier; taken out by the
    // receiver, possibly on another thread than the last copy's owner.
    struct Holder {
        std::atomic<I::Image*> frame;
        explicit Holder(I::Image* held)
            : frame(held) {}
        ~Holder() { delete frame.load(); }
        Holder(const Holder&) = delete;
        Holder& operator=(const Holder&) = delete;
    };
    std::shared_ptr<Holder> holder_;
};

Q_DECLARE_METATYPE(FrameCarrier)
