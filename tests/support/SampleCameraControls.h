#pragma once

#include "capture/platform/CameraControls.h"

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace sample_controls {

// Ids of the controls below, in their order.
enum : uint32_t { kBrightness = 1, kSharpness, kGain, kGainAutomatic, kPowerLine, kScene };
enum : uint32_t { kLinkFrequency = kScene + 1, kPixelOffset, kErrorMask, kLabel, kRestart };
enum : uint32_t { kFirmware = kRestart + 1, kTrigger };

inline platform::CameraControl control(uint32_t id, const char* name, platform::ControlKind kind,
                                       int64_t minimum, int64_t maximum, int64_t step,
                                       int64_t value, uint32_t flags = 0) {
    return {id, name, kind, minimum, maximum, step, value, value, "", {}, flags};
}

inline platform::CameraControl menu(uint32_t id, const char* name, platform::ControlKind kind,
                                    std::vector<platform::ControlMenuEntry> entries) {
    const int64_t first = entries.front().index;
    return {id, name, kind, first, entries.back().index, 1, 1, 1, "", entries, 0};
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
             {{0, "Disabled"}, {1, "50 Hz"}, {2, "60 Hz"}}),
        menu(kScene, "Scene Mode", ControlKind::Menu,
             {{0, "None"}, {1, "Backlight"}, {3, "Night"}}),
        menu(kLinkFrequency, "Link Frequency", ControlKind::IntegerMenu,
             {{0, "2"}, {1, "100"}, {2, "200"}}),
        control(kPixelOffset, "Pixel Offset", ControlKind::Integer64, lowest, highest, 2, 0),
        control(kErrorMask, "Error Mask", ControlKind::Bitmask, 0, 0xff, 1, 0x3),
        label,
        control(kRestart, "Restart", ControlKind::Button, 0, 0, 0, 0, flag::kWriteOnly),
        control(kFirmware, "Firmware Version", ControlKind::Integer, 0, 1000, 1, 7,
                flag::kReadOnly),
        control(kTrigger, "Trigger", ControlKind::Integer, 0, 1, 1, 0, flag::kWriteOnly),
    };
}

// The control of id with value as the user set it.
inline platform::CameraControl withValue(uint32_t id, int64_t value) {
    platform::CameraControl control = webcamControls()[id - 1];
    control.value = value;
    return control;
}

using IdsAndValues = std::vector<std::pair<uint32_t, int64_t>>;

inline IdsAndValues idsAndValues(const std::vector<platform::CameraControl>& writes) {
    IdsAndValues result;
    for (const platform::CameraControl& write : writes) {
        result.emplace_back(write.id, write.value);
    }
    return result;
}

} // namespace sample_controls
