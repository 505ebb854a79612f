#include "capture/platform/fake/FakeControlBoard.h"

#include <algorithm>

using namespace platform;

namespace fake {

namespace {
bool inMenu(const CameraControl& control, int64_t value) {
    return std::any_of(control.menu.begin(), control.menu.end(),
                       [value](const ControlMenuEntry& entry) { return entry.index == value; });
}

bool acceptable(const CameraControl& control, const CameraControl& wanted) {
    switch (control.kind) {
    case ControlKind::Button:
        return true;
    case ControlKind::String:
        return static_cast<int64_t>(wanted.text.size()) >= control.minimum &&
               static_cast<int64_t>(wanted.text.size()) <= control.maximum;
    case ControlKind::Menu:
    case ControlKind::IntegerMenu:
        return inMenu(control, wanted.value);
    default:
        return wanted.value >= control.minimum && wanted.value <= control.maximum;
    }
}
} // namespace

FakeControlBoard::FakeControlBoard(std::string busPath, std::vector<CameraControl> controls)
    : busPath_(std::move(busPath))
    , controls_(std::move(controls)) {}

std::vector<CameraControl> FakeControlBoard::controls() const {
    QMutexLocker locker(&lock_);
    return controls_;
}

Status FakeControlBoard::read(CameraControl& control) const {
    QMutexLocker locker(&lock_);
    const auto found =
        std::find_if(controls_.begin(), controls_.end(),
                     [&control](const CameraControl& c) { return c.id == control.id; });
    if (found == controls_.end()) {
        return kInvalidArgument;
    }
    control = *found;
    return kOk;
}

Status FakeControlBoard::write(const CameraControl& wanted, const void* handle) {
    CameraControl state;
    {
        QMutexLocker locker(&lock_);
        CameraControl* control = find(wanted.id);
        if (!control) {
            return kInvalidArgument;
        }
        if (control->has(controlflag::kReadOnly)) {
            return kAccessDenied;
        }
        if (!acceptable(*control, wanted)) {
            return kInvalidArgument;
        }
        if (control->kind != ControlKind::Button) {
            control->value = wanted.value;
            control->text = wanted.text;
        }
        writes_.push_back(wanted);
        state = *control;
    }
    tellWatchers(state, handle);
    return kOk;
}

void FakeControlBoard::change(const CameraControl& state) {
    {
        QMutexLocker locker(&lock_);
        CameraControl* control = find(state.id);
        if (!control) {
            return;
        }
        *control = state;
    }
    tellWatchers(state, nullptr);
}

void FakeControlBoard::watch(const void* handle,
                             std::function<void(const CameraControl&)> changed) {
    QMutexLocker delivering(&delivery_);
    QMutexLocker locker(&lock_);
    if (changed) {
        watchers_[handle] = std::move(changed);
    } else {
        watchers_.erase(handle);
    }
}

std::vector<CameraControl> FakeControlBoard::writes() const {
    QMutexLocker locker(&lock_);
    return writes_;
}

CameraControl* FakeControlBoard::find(uint32_t id) {
    const auto found = std::find_if(controls_.begin(), controls_.end(),
                                    [id](const CameraControl& c) { return c.id == id; });
    return found == controls_.end() ? nullptr : &*found;
}

// Like a driver, a handle is not told of its own writes.
void FakeControlBoard::tellWatchers(const CameraControl& state, const void* exceptHandle) {
    QMutexLocker delivering(&delivery_);
    std::vector<std::function<void(const CameraControl&)>> watchers;
    {
        QMutexLocker locker(&lock_);
        for (const auto& [handle, changed] : watchers_) {
            if (handle != exceptHandle) {
                watchers.push_back(changed);
            }
        }
    }
    for (const auto& changed : watchers) {
        changed(state);
    }
}

} // namespace fake
