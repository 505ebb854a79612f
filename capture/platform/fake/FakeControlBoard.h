#pragma once

#include "capture/platform/CameraControls.h"

#include <QMutex>
#include <QRecursiveMutex>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fake {

// The controls of one scripted camera, shared by every handle opened on it.
// A write through a handle is checked as a driver would check it and reported
// to the other handles' watchers; change() plays the camera changing a value
// or a flag by itself and is reported to all of them, on the calling thread.
class FakeControlBoard {
public:
    FakeControlBoard(std::string busPath, std::vector<platform::CameraControl> controls);

    const std::string& busPath() const { return busPath_; }
    std::vector<platform::CameraControl> controls() const;
    platform::Status read(platform::CameraControl& control) const;
    platform::Status write(const platform::CameraControl& wanted, const void* handle);
    void change(const platform::CameraControl& state);
    void watch(const void* handle, std::function<void(const platform::CameraControl&)> changed);
    // Every write accepted, in order.
    std::vector<platform::CameraControl> writes() const;

private:
    platform::CameraControl* find(uint32_t id);
    void tellWatchers(const platform::CameraControl& state, const void* exceptHandle);

    const std::string busPath_;
    // Held while watchers are told, and by watch(), so that once a handle
    // stops watching no call to it is under way; recursive, since a watcher
    // may write in turn.
    QRecursiveMutex delivery_;
    // Guards everything below.
    mutable QMutex lock_;
    std::vector<platform::CameraControl> controls_;
    std::vector<platform::CameraControl> writes_;
    std::map<const void*, std::function<void(const platform::CameraControl&)>> watchers_;
};

} // namespace fake
