#pragma once

#include "capture/platform/CapturePlatform.h"

#include <array>

struct CaptureDevice;

constexpr int kDeviceSlots = 20;
constexpr int kDeviceNameBytes = 255;
using DeviceNameTable = std::array<std::array<char, kDeviceNameBytes>, kDeviceSlots>;

// Walks the platform's video input devices: counts them, lists their names and
// opens one by its position.
class DeviceEnumerator {
public:
    explicit DeviceEnumerator(CapturePlatform& platform);

    // Fills one name row per device (the first twenty) and returns how many
    // devices there are.
    int enumerate(DeviceNameTable& names);
    // Devices whose property store opens.
    int count();
    // Opens device n: its names go into the record, its source filter into
    // the record's source filter. kNotFound when device n cannot be read.
    platform::Status findDevice(int n, CaptureDevice& device);
    // The controls of device n, numbered as findDevice numbers them.
    platform::Status openControls(int n, std::unique_ptr<platform::CameraControls>& controls);

private:
    platform::Status devices(std::vector<std::unique_ptr<platform::DeviceMoniker>>& monikers);
    platform::Status moniker(int n,
                             std::vector<std::unique_ptr<platform::DeviceMoniker>>& monikers);
    bool readDisplayName(platform::PropertyStore& store, std::u16string& name);

    CapturePlatform& platform_;
};
