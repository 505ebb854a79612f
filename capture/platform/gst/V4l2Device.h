#pragma once

#include <string>

// One open V4L2 device node: the file descriptor, closed when this goes, and
// the ioctl call every user of it goes through.
class V4l2Device {
public:
    // Opens the node without blocking, so that asking for events never waits
    // on a camera; isOpen() tells whether that worked.
    explicit V4l2Device(const std::string& path);
    ~V4l2Device();
    V4l2Device(const V4l2Device&) = delete;
    V4l2Device& operator=(const V4l2Device&) = delete;

    bool isOpen() const { return descriptor_ >= 0; }
    int descriptor() const { return descriptor_; }
    // Runs one ioctl, again when a signal interrupted it: 0, or the error
    // number it failed with.
    int control(unsigned long request, void* argument) const;

private:
    int descriptor_ = -1;
};
