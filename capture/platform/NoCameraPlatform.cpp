#include "capture/platform/NoCameraPlatform.h"

using namespace platform;

Status NoCameraPlatform::videoInputDevices(std::vector<std::unique_ptr<DeviceMoniker>>& devices) {
    devices.clear();
    return kFalse;
}

Status NoCameraPlatform::createCaptureGraphBuilder(std::unique_ptr<CaptureGraphBuilder>&) {
    return kNotImplemented;
}

Status NoCameraPlatform::createFilterGraph(std::shared_ptr<FilterGraph>&) {
    return kNotImplemented;
}

Status NoCameraPlatform::createSampleGrabber(std::shared_ptr<Filter>&) {
    return kNotImplemented;
}

Status NoCameraPlatform::createNullRenderer(std::shared_ptr<Filter>&) {
    return kNotImplemented;
}
