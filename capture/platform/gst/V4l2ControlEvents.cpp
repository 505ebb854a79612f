#include "capture/platform/gst/V4l2ControlEvents.h"

#include "capture/platform/gst/V4l2Device.h"

#include <cerrno>
#include <linux/videodev2.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

V4l2ControlEvents::V4l2ControlEvents(const V4l2Device& device, const std::vector<uint32_t>& ids,
                                     std::function<void(uint32_t id)> changed)
    : device_(device)
    , changed_(std::move(changed))
    , stopSignal_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    // A control whose driver sends no events simply goes unreported.
    for (uint32_t id : ids) {
        v4l2_event_subscription subscription{};
        subscription.type = V4L2_EVENT_CTRL;
        subscription.id = id;
        device_.control(VIDIOC_SUBSCRIBE_EVENT, &subscription);
    }
    // Without a way to stop it, the thread could never be joined.
    if (stopSignal_ >= 0) {
        thread_ = std::thread(&V4l2ControlEvents::run, this);
    }
}

V4l2ControlEvents::~V4l2ControlEvents() {
    if (thread_.joinable()) {
        const uint64_t one = 1;
        while (::write(stopSignal_, &one, sizeof one) < 0 && errno == EINTR) {
        }
        thread_.join();
    }
    if (stopSignal_ >= 0) {
        ::close(stopSignal_);
    }
    v4l2_event_subscription all{};
    all.type = V4L2_EVENT_ALL;
    device_.control(VIDIOC_UNSUBSCRIBE_EVENT, &all);
}

// Control events come as priority data. Asking for nothing else matters: a
// capture node asked whether it can be read starts streaming for read(),
// which would wake this thread with every frame and keep the camera from the
// capture pipeline. A device that went away reports an error or a hang-up,
// and the thread then ends without a word; whoever uses the controls learns
// of it from their next call.
void V4l2ControlEvents::run() {
    pollfd watched[] = {{device_.descriptor(), POLLPRI, 0}, {stopSignal_, POLLIN, 0}};
    for (;;) {
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (watched[1].revents != 0 || (watched[0].revents & (POLLERR | POLLHUP | POLLNVAL))) {
            return;
        }
        if ((watched[0].revents & POLLPRI) && !takeEvents()) {
            return;
        }
    }
}

bool V4l2ControlEvents::takeEvents() {
    for (;;) {
        v4l2_event event{};
        const int error = device_.control(VIDIOC_DQEVENT, &event);
        if (error == ENOENT || error == EAGAIN) {
            return true;
        }
        if (error != 0) {
            return false;
        }
        if (event.type == V4L2_EVENT_CTRL) {
            changed_(event.id);
        }
    }
}
