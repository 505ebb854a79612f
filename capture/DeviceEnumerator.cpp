#include "capture/DeviceEnumerator.h"

#include "capture/CaptureDevice.h"
#include "capture/PlatformRuntime.h"

using namespace platform;

namespace {
// A listed name keeps room for its terminating zero and one spare byte.
constexpr std::size_t kListedNameUnits = 253;
// An opened device's names fill their arrays but for the terminating zero.
constexpr std::size_t kOpenedNameUnits = CaptureDevice::kNameLength - 1;

bool readProperty(PropertyStore& store, const char* property, std::u16string& value) {
    std::u16string read;
    if (!succeeded(store.read(property, read))) {
        return false;
    }
    value = read;
    return true;
}

// Names are kept as 8-bit text: each unit keeps only its low byte.
template <typename Unit, std::size_t N>
void copyName(const std::u16string& name, std::size_t maxUnits, std::array<Unit, N>& target) {
    std::size_t unit = 0;
    for (; unit < name.size() && unit < maxUnits && name[unit] != 0; ++unit) {
        target[unit] = static_cast<Unit>(name[unit] & (sizeof(Unit) == 1 ? 0xff : 0xffff));
    }
    target[unit] = 0;
}
} // namespace

DeviceEnumerator::DeviceEnumerator(CapturePlatform& platform)
    : platform_(platform) {}

Status DeviceEnumerator::devices(std::vector<std::unique_ptr<DeviceMoniker>>& monikers) {
    monikers.clear();
    const Status status = platform_.videoInputDevices(monikers);
    if (status != kOk) {
        monikers.clear();
    }
    return status;
}

// The friendly name is used whenever the device has one; the description only
// when the friendly name cannot be read.
bool DeviceEnumerator::readDisplayName(PropertyStore& store, std::u16string& name) {
    const bool found =
        readProperty(store, "Description", name) || readProperty(store, "FriendlyName", name);
    if (found) {
        readProperty(store, "FriendlyName", name);
    }
    return found;
}

int DeviceEnumerator::enumerate(DeviceNameTable& names) {
    PlatformRuntime::acquire(platform_);
    std::vector<std::unique_ptr<DeviceMoniker>> monikers;
    devices(monikers);
    int deviceNumber = 0;
    for (auto& moniker : monikers) {
        std::unique_ptr<PropertyStore> store;
        if (!succeeded(moniker->openPropertyStore(store))) {
            continue;
        }
        std::u16string name;
        if (readDisplayName(*store, name) && deviceNumber < kDeviceSlots) {
            copyName(name, kListedNameUnits, names[deviceNumber]);
        }
        ++deviceNumber;
    }
    PlatformRuntime::release(platform_);
    return deviceNumber;
}

int DeviceEnumerator::count() {
    std::vector<std::unique_ptr<DeviceMoniker>> monikers;
    devices(monikers);
    int openable = 0;
    for (auto& moniker : monikers) {
        std::unique_ptr<PropertyStore> store;
        if (succeeded(moniker->openPropertyStore(store))) {
            ++openable;
        }
    }
    return openable;
}

// This walk counts every device, openable or not, so its numbering can differ
// from the listing's when a device's property store does not open.
Status DeviceEnumerator::findDevice(int n, CaptureDevice& device) {
    std::vector<std::unique_ptr<DeviceMoniker>> monikers;
    const Status status = moniker(n, monikers);
    if (status != kOk) {
        return status;
    }
    DeviceMoniker& moniker = *monikers[static_cast<std::size_t>(n)];
    std::unique_ptr<PropertyStore> store;
    std::u16string name;
    if (!succeeded(moniker.openPropertyStore(store)) ||
        !readProperty(*store, "FriendlyName", name)) {
        return kNotFound;
    }
    copyName(name, kOpenedNameUnits, device.wideName);
    copyName(name, kOpenedNameUnits, device.name);
    return moniker.bindSourceFilter(device.sourceFilter);
}

Status DeviceEnumerator::openControls(int n, std::unique_ptr<CameraControls>& controls) {
    std::vector<std::unique_ptr<DeviceMoniker>> monikers;
    const Status status = moniker(n, monikers);
    return status == kOk ? monikers[static_cast<std::size_t>(n)]->openControls(controls) : status;
}

// Lists the devices and checks that device n is among them: kOk when it is,
// kNotFound when it is not, the listing's failure when that failed.
Status DeviceEnumerator::moniker(int n, std::vector<std::unique_ptr<DeviceMoniker>>& monikers) {
    const Status status = platform_.videoInputDevices(monikers);
    if (!succeeded(status)) {
        return status;
    }
    return status != kOk || n < 0 || n >= static_cast<int>(monikers.size()) ? kNotFound : kOk;
}
