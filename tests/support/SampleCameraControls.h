#pragma once

#include "capture/platform/CameraControls.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace sample_controls {

// Ids of the controls below.
enum : uint32_t {
    kBrightness = 1,
    kSharpness,
    kGain,
    kGainAutomatic,
    kPowerLine,
    kScene,
    kLinkFrequency,
    kPixelOffset,
    kErrorMask,
    kLabel,
    kRestart,
    kFirmware,
    kTrigger,
};

inline platform::CameraControl control(uint32_t id, const char* name, platform::ControlKind kind,
                                       int64_t minimum, int64_t maximum, int64_t step,
                                       int64_t value, uint32_t flags = 0) {
    platform::CameraControl made;
    made.id = id;
    made.name = name;
    made.kind = kind;
    made.minimum = minimum;
    made.maximum = maximum;
    made.step = step;
    made.defaultValue = value;
    made.value = value;
    made.flags = flags;
    return made;
}

inline platform::CameraControl menu(uint32_t id, const char* name, platform::ControlKind kind,
                                    std::vector<platform::ControlMenuEntry> entries,
                                    int64_t value) {
    platform::CameraControl made =
        control(id, name, kind, entries.front().index, entries.back().index, 1, value);
    made.menu = std::move(entries);
    return made;
}

// A webcam's usual controls with every kind and flag a driver reports:
// a gain listed before its automatic mode, a menu with a gap, an integer
// menu whose numbers differ from their indices, a 64-bit range wider than
// int64_t can subtract, read-only and write-only controls.
inline std::vector<platform::CameraControl> webcamControls() {
    using platform::ControlKind;
    namespace flag = platform::controlflag;
    const int64_t lowest = std::numeric_limits<int64_t>::min();
    const int64_t highest = std::numeric_limits<int64_t>::max();
    platform::CameraControl label = control(kLabel, "Label", ControlKind::String, 2, 10, 1, 0);
    label.text = "abc";
    return {
        control(kBrightness, "Brightness", ControlKind::Integer, 0, 255, 1, 128),
        control(kSharpness, "Sharpness", ControlKind::Integer, 1, 9, 2, 5),
        control(kGain, "Gain", ControlKind::Integer, 0, 100, 1, 20,
                flag::kInactive | flag::kVolatile),
        control(kGainAutomatic, "Gain, Automatic", ControlKind::Boolean, 0, 1, 1, 1),
        menu(kPowerLine, "Power Line Frequency", ControlKind::Menu,
             {{0, "Disabled"}, {1, "50 Hz"}, {2, "60 Hz"}}, 1),
        menu(kScene, "Scene Mode", ControlKind::Menu, {{0, "None"}, {1, "Backlight"}, {3, "Night"}},
             0),
        menu(kLinkFrequency, "Link Frequency", ControlKind::IntegerMenu,
             {{0, "2"}, {1, "100"}, {2, "200"}}, 1),
        control(kPixelOffset, "Pixel Offset", ControlKind::Integer64, lowest, highest, 2, 0),
        control(kErrorMask, "Error Mask", ControlKind::Bitmask, 0, 0xff, 1, 0x3),
        label,
        control(kRestart, "Restart", ControlKind::Button, 0, 0, 0, 0, flag::kWriteOnly),
        control(kFirmware, "Firmware Version", ControlKind::Integer, 0, 1000, 1, 7,
                flag::kReadOnly),
        control(kTrigger, "Trigger", ControlKind::Integer, 0, 1, 1, 0, flag::kWriteOnly),
    };
}

} // namespace sample_controls
