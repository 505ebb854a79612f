#pragma once

#include "capture/platform/CameraControls.h"

#include <memory>

namespace fake {

class FakeControlBoard;

// One handle on a scripted camera's controls, as a program opens it.
class FakeCameraControls : public platform::CameraControls {
public:
    explicit FakeCameraControls(std::shared_ptr<FakeControlBoard> board);
    ~FakeCameraControls() override;

    std::string busPath() override;
    platform::Status list(std::vector<platform::CameraControl>& controls) override;
    platform::Status read(platform::CameraControl& control) override;
    platform::Status write(const platform::CameraControl& wanted) override;
    void watch(std::function<void(const platform::CameraControl&)> changed) override;

private:
    std::shared_ptr<FakeControlBoard> board_;
};

} // namespace fake
