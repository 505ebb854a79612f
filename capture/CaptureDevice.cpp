#include "capture/CaptureDevice.h"

namespace {
constexpr int32_t kBytesPerPixel = 3;
}

void CaptureDevice::setFrameSize(int32_t frameWidth, int32_t frameHeight) {
    width = frameWidth;
    height = frameHeight;
    frameBytes = frameWidth * frameHeight * kBytesPerPixel;
    if (!callback->isBufferReady()) {
        callback->prepareBuffer(frameBytes);
    }
}
