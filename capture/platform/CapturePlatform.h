#pragma once

#include "capture/platform/CameraControls.h"
#include "capture/platform/GraphObjects.h"
#include "capture/platform/SampleGrabber.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class PropertyStore {
public:
    virtual ~PropertyStore() = default;
    // Reads a text property such as "FriendlyName" or "Description".
    virtual Status read(const std::string& property, std::u16string& value) = 0;
};

// One entry of the device enumeration.
class DeviceMoniker {
public:
    virtual ~DeviceMoniker() = default;
    virtual Status openPropertyStore(std::unique_ptr<PropertyStore>& store) = 0;
    virtual Status bindSourceFilter(std::shared_ptr<Filter>& source) = 0;
    // The device's own controls; sources without any answer kNoInterface.
    virtual Status openControls(std::unique_ptr<CameraControls>& controls) {
        (void)controls;
        return kNoInterface;
    }
};

} // namespace platform

// Everything the capture device layer asks of the operating system's capture
// framework. The layer's logic is written once against this; the real
// implementation and the scriptable fake of the tests sit behind it.
class CapturePlatform {
public:
    virtual ~CapturePlatform() = default;

    // Start and stop of the framework's runtime; the layer counts its users.
    virtual platform::Status initRuntime() = 0;
    virtual void shutdownRuntime() = 0;

    // The video input devices in a stable order: exactly kOk when there is at
    // least one, anything else when there is none.
    virtual platform::Status
    videoInputDevices(std::vector<std::unique_ptr<platform::DeviceMoniker>>& devices) = 0;

    virtual platform::Status
    createCaptureGraphBuilder(std::unique_ptr<platform::CaptureGraphBuilder>& builder) = 0;
    virtual platform::Status createFilterGraph(std::shared_ptr<platform::FilterGraph>& graph) = 0;
    virtual platform::Status createSampleGrabber(std::shared_ptr<platform::Filter>& grabber) = 0;
    virtual platform::Status createNullRenderer(std::shared_ptr<platform::Filter>& renderer) = 0;

    // Sources beyond the real cameras, listed after them: a painted person
    // ("Demo camera") and the replay of a recorded clip.
    virtual void addDemoCamera() = 0;
    virtual void addVideoFile(const std::string& path) = 0;

    // Calls devicesChanged, from any thread, whenever a camera is plugged in
    // or unplugged, until watching is stopped by passing an empty function.
    // Once this returns with an empty function, no call is under way or to
    // come.
    virtual void watchDevices(std::function<void()> devicesChanged) = 0;
};
