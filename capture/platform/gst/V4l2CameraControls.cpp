#include "capture/platform/gst/V4l2CameraControls.h"

#include "capture/platform/gst/V4l2ControlEvents.h"
#include "capture/platform/gst/V4l2Device.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

using namespace platform;

namespace {

Status statusOf(int error) {
    switch (error) {
    case 0:
        return kOk;
    case EINVAL:
    case ERANGE:
        return kInvalidArgument;
    case EACCES:
    case EPERM:
        return kAccessDenied;
    default:
        return kFail;
    }
}

bool inMenu(const CameraControl& control, int64_t value) {
    return std::any_of(control.menu.begin(), control.menu.end(),
                       [value](const ControlMenuEntry& entry) { return entry.index == value; });
}

bool acceptsText(const CameraControl& control, const std::string& text) {
    const auto length = static_cast<int64_t>(text.size());
    // The driver measures a string up to its first zero.
    return text.find('\0') == std::string::npos && length >= control.minimum &&
           length <= control.maximum &&
           (control.step <= 0 || (length - control.minimum) % control.step == 0);
}

// The kernel brings an integer outside its range to the nearest end instead
// of refusing it, and a 32-bit control would keep only the low half of a
// larger number; so values are checked here first, and asking 300 of a
// 0..255 brightness is refused rather than quietly turned into 255.
bool accepts(const CameraControl& control, const CameraControl& wanted) {
    switch (control.kind) {
    case ControlKind::Button:
        return true;
    case ControlKind::String:
        return acceptsText(control, wanted.text);
    case ControlKind::Menu:
    case ControlKind::IntegerMenu:
        return inMenu(control, wanted.value);
    case ControlKind::Bitmask:
        return wanted.value >= 0 && (wanted.value & ~control.maximum) == 0;
    default:
        return wanted.value >= control.minimum && wanted.value <= control.maximum;
    }
}

v4l2_ext_controls requestFor(v4l2_ext_control& value) {
    v4l2_ext_controls request{};
    request.which = V4L2_CTRL_WHICH_CUR_VAL;
    request.count = 1;
    request.controls = &value;
    return request;
}

} // namespace

Status V4l2CameraControls::open(const std::string& path,
                                std::unique_ptr<CameraControls>& controls) {
    auto device = std::make_unique<V4l2Device>(path);
    if (!device->isOpen()) {
        return kFail;
    }
    // A node that names no control at all has nothing to offer; cameras
    // whose controls live on another node are like that.
    v4l2_capability capability{};
    v4l2_query_ext_ctrl first{};
    if (device->control(VIDIOC_QUERYCAP, &capability) != 0 ||
        V4l2ControlReader(*device).query(V4L2_CTRL_FLAG_NEXT_CTRL, first) != 0) {
        return kNoInterface;
    }
    controls = std::make_unique<V4l2CameraControls>(std::move(device));
    return kOk;
}

V4l2CameraControls::V4l2CameraControls(std::unique_ptr<V4l2Device> device)
    : device_(std::move(device))
    , reader_(*device_) {}

V4l2CameraControls::~V4l2CameraControls() = default;

std::string V4l2CameraControls::busPath() {
    v4l2_capability capability{};
    if (device_->control(VIDIOC_QUERYCAP, &capability) != 0) {
        return {};
    }
    const auto* busInfo = reinterpret_cast<const char*>(capability.bus_info);
    return std::string(busInfo, strnlen(busInfo, sizeof capability.bus_info));
}

// A control the camera fails to read is still listed, at 0: some cameras
// name controls they then cannot answer for. Only a device that went away
// ends the listing early.
Status V4l2CameraControls::list(std::vector<CameraControl>& controls) {
    controls.clear();
    v4l2_query_ext_ctrl query{};
    uint32_t id = 0;
    int error = 0;
    // The walk ends when the driver knows no control after the last one; an
    // id that does not grow would be a driver going round in circles.
    while ((error = reader_.query(id | V4L2_CTRL_FLAG_NEXT_CTRL, query)) == 0 && query.id > id) {
        id = query.id;
        CameraControl control;
        if (!reader_.describe(query, control)) {
            continue;
        }
        if (readValue(query, control) == ENODEV) {
            error = ENODEV;
            break;
        }
        controls.push_back(std::move(control));
    }
    if (error != 0 && error != EINVAL) {
        controls.clear();
        return statusOf(error);
    }
    return kOk;
}

Status V4l2CameraControls::read(CameraControl& control) {
    v4l2_query_ext_ctrl query{};
    CameraControl fresh;
    const Status described = describe(control.id, query, fresh);
    if (!succeeded(described)) {
        return described;
    }
    const int error = readValue(query, fresh);
    if (error != 0) {
        return statusOf(error);
    }
    control = std::move(fresh);
    return kOk;
}

Status V4l2CameraControls::write(const CameraControl& wanted) {
    v4l2_query_ext_ctrl query{};
    CameraControl control;
    const Status described = describe(wanted.id, query, control);
    if (!succeeded(described)) {
        return described;
    }
    if (control.has(controlflag::kReadOnly)) {
        return kAccessDenied;
    }
    if (!accepts(control, wanted)) {
        return kInvalidArgument;
    }
    return statusOf(writeValue(control, wanted));
}

// Stopping comes first, so that two listeners never run at once.
void V4l2CameraControls::watch(std::function<void(const CameraControl&)> changed) {
    events_.reset();
    if (!changed) {
        return;
    }
    std::vector<CameraControl> controls;
    list(controls);
    std::vector<uint32_t> ids;
    for (const CameraControl& control : controls) {
        ids.push_back(control.id);
    }
    // The event carries the new value and flags, but reading the control
    // again hands on the whole of it, strings and menus included.
    events_ = std::make_unique<V4l2ControlEvents>(
        *device_, ids, [this, changed = std::move(changed)](uint32_t id) {
            CameraControl control;
            control.id = id;
            if (succeeded(read(control))) {
                changed(control);
            }
        });
}

// An id carrying the flags that walk the list would name another control,
// so only an exact answer counts.
Status V4l2CameraControls::describe(uint32_t id, v4l2_query_ext_ctrl& query,
                                    CameraControl& control) const {
    const int error = reader_.query(id, query);
    if (error != 0) {
        return statusOf(error);
    }
    return query.id == id && reader_.describe(query, control) ? kOk : kInvalidArgument;
}

// Buttons and write-only controls have nothing to read: the driver refuses,
// and their value stays 0.
int V4l2CameraControls::readValue(const v4l2_query_ext_ctrl& query, CameraControl& control) const {
    control.value = 0;
    control.text.clear();
    if (control.kind == ControlKind::Button || control.has(controlflag::kWriteOnly)) {
        return 0;
    }
    v4l2_ext_control value{};
    value.id = query.id;
    // A string needs room for its longest text and the closing zero, which
    // is the element size the driver gives; its 64-bit maximum is not
    // trusted for an allocation.
    std::vector<char> text;
    if (control.kind == ControlKind::String) {
        text.resize(std::max<std::size_t>(query.elem_size, 1));
        value.size = static_cast<uint32_t>(text.size());
        value.string = text.data();
    }
    v4l2_ext_controls request = requestFor(value);
    const int error = device_->control(VIDIOC_G_EXT_CTRLS, &request);
    if (error != 0) {
        return error;
    }
    switch (control.kind) {
    case ControlKind::Integer64:
        control.value = value.value64;
        break;
    case ControlKind::Bitmask:
        control.value = static_cast<uint32_t>(value.value);
        break;
    case ControlKind::String:
        control.text.assign(text.data(), strnlen(text.data(), text.size()));
        break;
    default:
        control.value = value.value;
    }
    return 0;
}

int V4l2CameraControls::writeValue(const CameraControl& control,
                                   const CameraControl& wanted) const {
    v4l2_ext_control value{};
    value.id = control.id;
    // The driver is handed a writable buffer, so it gets a copy.
    std::string text = wanted.text;
    switch (control.kind) {
    case ControlKind::Integer64:
        value.value64 = wanted.value;
        break;
    case ControlKind::String:
        value.size = static_cast<uint32_t>(text.size() + 1);
        value.string = text.data();
        break;
    case ControlKind::Button:
        value.value = 1;
        break;
    default:
        // Bitmasks travel as the same 32 bits, read as signed.
        value.value = static_cast<int32_t>(static_cast<uint32_t>(wanted.value));
    }
    v4l2_ext_controls request = requestFor(value);
    return device_->control(VIDIOC_S_EXT_CTRLS, &request);
}
