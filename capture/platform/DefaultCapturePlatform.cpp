#include "capture/platform/DefaultCapturePlatform.h"

#include "capture/platform/gst/GstCapturePlatform.h"

std::unique_ptr<CapturePlatform> makeDefaultCapturePlatform() {
    return std::make_unique<GstCapturePlatform>();
}
