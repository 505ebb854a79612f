#pragma once

#include "capture/platform/PlatformTypes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// The kinds of control a camera may offer; compound and array controls are
// not among them, since nothing here can show or set them.
enum class ControlKind { Integer, Integer64, Boolean, Menu, IntegerMenu, Button, Bitmask, String };

namespace controlflag {
constexpr uint32_t kReadOnly = 1u << 0;
// Set, but of no effect now: a manual value while its automatic mode is on.
constexpr uint32_t kInactive = 1u << 1;
constexpr uint32_t kWriteOnly = 1u << 2;
// Changes by itself, like a gain the camera adjusts; reading it is the only
// way to know it.
constexpr uint32_t kVolatile = 1u << 3;
// Cannot be changed while the camera streams.
constexpr uint32_t kGrabbed = 1u << 4;
constexpr uint32_t kSlider = 1u << 5;
} // namespace controlflag

// One entry of a menu: its index, and its name or, in an integer menu, its
// number written out.
struct ControlMenuEntry {
    int64_t index = 0;
    std::string label;
};

// A control as the camera describes it, with its value when read.
struct CameraControl {
    bool has(uint32_t flag) const { return (flags & flag) != 0; }

    uint32_t id = 0;
    std::string name;
    ControlKind kind = ControlKind::Integer;
    // For strings, the shortest and the longest text.
    int64_t minimum = 0;
    int64_t maximum = 0;
    int64_t step = 1;
    int64_t defaultValue = 0;
    // Every kind but String; a button or a write-only control reads 0.
    int64_t value = 0;
    std::string text;
    // Only the entries the camera names: menus may have gaps.
    std::vector<ControlMenuEntry> menu;
    uint32_t flags = 0;
};

// The controls of one camera (brightness, gain, exposure and the like),
// reachable whether the camera streams or not.
class CameraControls {
public:
    virtual ~CameraControls() = default;

    // Where the camera is attached, such as "usb-0000:00:14.0-1"; two cameras
    // of the same make differ here.
    virtual std::string busPath() = 0;
    // Every control with its current value, in the camera's order.
    virtual Status list(std::vector<CameraControl>& controls) = 0;
    // Refreshes the value, text and flags of the control whose id is set.
    virtual Status read(CameraControl& control) = 0;
    // Sets the control of wanted.id to wanted.value, or wanted.text for a
    // string; pressing a button takes any value. kInvalidArgument when the
    // camera refuses the value.
    virtual Status write(const CameraControl& wanted) = 0;
    // Calls changed, from a thread of its own, with a control's new state
    // whenever its value or flags change, until watching is stopped by
    // passing an empty function. Once that returns no call is under way.
    virtual void watch(std::function<void(const CameraControl&)> changed) = 0;
};

} // namespace platform
