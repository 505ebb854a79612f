#include "capture/platform/fake/FakeCameraControls.h"

#include "capture/platform/fake/FakeControlBoard.h"

using namespace platform;

namespace fake {

FakeCameraControls::FakeCameraControls(std::shared_ptr<FakeControlBoard> board)
    : board_(std::move(board)) {}

FakeCameraControls::~FakeCameraControls() {
    board_->watch(this, nullptr);
}

std::string FakeCameraControls::busPath() {
    return board_->busPath();
}

Status FakeCameraControls::list(std::vector<CameraControl>& controls) {
    controls = board_->controls();
    return kOk;
}

Status FakeCameraControls::read(CameraControl& control) {
    return board_->read(control);
}

Status FakeCameraControls::write(const CameraControl& wanted) {
    return board_->write(wanted, this);
}

void FakeCameraControls::watch(std::function<void(const CameraControl&)> changed) {
    board_->watch(this, std::move(changed));
}

} // namespace fake
