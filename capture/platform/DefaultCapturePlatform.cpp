#include "capture/platform/DefaultCapturePlatform.h"

#include "capture/platform/NoCameraPlatform.h"

std::unique_ptr<CapturePlatform> makeDefaultCapturePlatform() {
    return std::make_unique<NoCameraPlatform>();
}
