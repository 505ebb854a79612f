#include "capture/platform/gst/V4l2Device.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

V4l2Device::V4l2Device(const std::string& path)
    : descriptor_(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC)) {}

V4l2Device::~V4l2Device() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

int V4l2Device::control(unsigned long request, void* argument) const {
    int result;
    do {
        result = ::ioctl(descriptor_, request, argument);
    } while (result < 0 && errno == EINTR);
    return result < 0 ? errno : 0;
}
