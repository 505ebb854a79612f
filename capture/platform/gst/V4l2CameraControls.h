#pragma once

#include "capture/platform/CameraControls.h"
#include "capture/platform/gst/V4l2ControlReader.h"

#include <memory>

class V4l2ControlEvents;
class V4l2Device;

// A camera's controls through its V4L2 device node, independent of any
// stream from it. Calls may come from several threads; watch() must not be
// called from the function it was given.
class V4l2CameraControls : public platform::CameraControls {
public:
    // The controls of the node at path: kNoInterface when it is not a V4L2
    // device, kFail when it cannot be opened.
    static platform::Status open(const std::string& path,
                                 std::unique_ptr<platform::CameraControls>& controls);
    explicit V4l2CameraControls(std::unique_ptr<V4l2Device> device);
    ~V4l2CameraControls() override;

    std::string busPath() override;
    platform::Status list(std::vector<platform::CameraControl>& controls) override;
    platform::Status read(platform::CameraControl& control) override;
    platform::Status write(const platform::CameraControl& wanted) override;
    void watch(std::function<void(const platform::CameraControl&)> changed) override;

private:
    // The driver's description of exactly the control id, as query and as
    // control; kInvalidArgument for a control not offered here.
    platform::Status describe(uint32_t id, v4l2_query_ext_ctrl& query,
                              platform::CameraControl& control) const;
    // 0 or the error number.
    int readValue(const v4l2_query_ext_ctrl& query, platform::CameraControl& control) const;
    int writeValue(const platform::CameraControl& control,
                   const platform::CameraControl& wanted) const;

    std::unique_ptr<V4l2Device> device_;
    V4l2ControlReader reader_;
    // Declared last, so that listening stops before the device closes.
    std::unique_ptr<V4l2ControlEvents> events_;
};
