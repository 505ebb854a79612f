#pragma once

#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

class V4l2Device;

// Listens for a device's control events on a thread of its own, from
// construction to destruction. The driver queues events per open file and
// does not report a file's own changes back to it, so whoever writes through
// the same device is not told of its writes.
class V4l2ControlEvents {
public:
    // Subscribes to the events of the controls in ids and starts listening:
    // changed gets the id of every control whose value, flags or range
    // changed, on the listening thread.
    V4l2ControlEvents(const V4l2Device& device, const std::vector<uint32_t>& ids,
                      std::function<void(uint32_t id)> changed);
    // Stops listening and waits for the thread, so no call to changed is
    // under way once this returns; then drops the subscriptions.
    ~V4l2ControlEvents();
    V4l2ControlEvents(const V4l2ControlEvents&) = delete;
    V4l2ControlEvents& operator=(const V4l2ControlEvents&) = delete;

private:
    void run();
    // Hands on every queued event; false once the device is gone.
    bool takeEvents();

    const V4l2Device& device_;
    std::function<void(uint32_t id)> changed_;
    // Written to wake the thread when it is to stop.
    int stopSignal_ = -1;
    std::thread thread_;
};
