#include "capture/platform/gst/V4l2ControlReader.h"

#include "capture/platform/gst/V4l2Device.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>
#include <utility>

using namespace platform;

namespace {

// A menu is asked about index by index; a driver that claims more indices
// than this is not believed, so that a corrupt range cannot keep a listing
// busy for hours.
constexpr int64_t kMaxMenuIndices = 1024;

constexpr std::pair<uint32_t, ControlKind> kKinds[] = {
    {V4L2_CTRL_TYPE_INTEGER, ControlKind::Integer},
    {V4L2_CTRL_TYPE_INTEGER64, ControlKind::Integer64},
    {V4L2_CTRL_TYPE_BOOLEAN, ControlKind::Boolean},
    {V4L2_CTRL_TYPE_MENU, ControlKind::Menu},
    {V4L2_CTRL_TYPE_INTEGER_MENU, ControlKind::IntegerMenu},
    {V4L2_CTRL_TYPE_BUTTON, ControlKind::Button},
    {V4L2_CTRL_TYPE_BITMASK, ControlKind::Bitmask},
    {V4L2_CTRL_TYPE_STRING, ControlKind::String},
};

constexpr std::pair<uint32_t, uint32_t> kFlags[] = {
    {V4L2_CTRL_FLAG_READ_ONLY, controlflag::kReadOnly},
    {V4L2_CTRL_FLAG_INACTIVE, controlflag::kInactive},
    {V4L2_CTRL_FLAG_WRITE_ONLY, controlflag::kWriteOnly},
    {V4L2_CTRL_FLAG_VOLATILE, controlflag::kVolatile},
    {V4L2_CTRL_FLAG_GRABBED, controlflag::kGrabbed},
    {V4L2_CTRL_FLAG_SLIDER, controlflag::kSlider},
};

bool kindOf(uint32_t type, ControlKind& kind) {
    const auto found = std::find_if(std::begin(kKinds), std::end(kKinds),
                                    [type](const auto& known) { return known.first == type; });
    if (found == std::end(kKinds)) {
        return false;
    }
    kind = found->second;
    return true;
}

uint32_t flagsOf(uint32_t driverFlags) {
    uint32_t flags = 0;
    for (const auto& [driverFlag, flag] : kFlags) {
        if (driverFlags & driverFlag) {
            flags |= flag;
        }
    }
    return flags;
}

// The driver's fixed-size name fields need not end in a zero.
template <std::size_t N> std::string textOf(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}
template <std::size_t N> std::string textOf(const unsigned char (&field)[N]) {
    return textOf(reinterpret_cast<const char(&)[N]>(field));
}

} // namespace

V4l2ControlReader::V4l2ControlReader(const V4l2Device& device)
    : device_(device) {}

int V4l2ControlReader::query(uint32_t id, v4l2_query_ext_ctrl& query) const {
    query = v4l2_query_ext_ctrl{};
    query.id = id;
    return device_.control(VIDIOC_QUERY_EXT_CTRL, &query);
}

bool V4l2ControlReader::describe(const v4l2_query_ext_ctrl& query, CameraControl& control) const {
    if ((query.flags & V4L2_CTRL_FLAG_DISABLED) || query.nr_of_dims > 0 ||
        !kindOf(query.type, control.kind)) {
        return false;
    }
    control.id = query.id;
    control.name = textOf(query.name);
    control.minimum = query.minimum;
    control.maximum = query.maximum;
    control.step = static_cast<int64_t>(query.step);
    control.defaultValue = query.default_value;
    control.flags = flagsOf(query.flags);
    control.menu.clear();
    if (control.kind == ControlKind::Menu || control.kind == ControlKind::IntegerMenu) {
        readMenu(query, control);
    }
    return true;
}

// Menus may have gaps: the driver refuses the indices it does not name. The
// menu query takes 32-bit indices, so a range claimed beyond them is cut.
void V4l2ControlReader::readMenu(const v4l2_query_ext_ctrl& query, CameraControl& control) const {
    constexpr int64_t kLastIndex = std::numeric_limits<uint32_t>::max();
    const int64_t first = std::clamp<int64_t>(query.minimum, 0, kLastIndex);
    const int64_t last =
        std::min<int64_t>({query.maximum, first + kMaxMenuIndices - 1, kLastIndex});
    for (int64_t index = first; index <= last; ++index) {
        v4l2_querymenu entry{};
        entry.id = query.id;
        entry.index = static_cast<uint32_t>(index);
        if (device_.control(VIDIOC_QUERYMENU, &entry) != 0) {
            continue;
        }
        control.menu.push_back({index, control.kind == ControlKind::IntegerMenu
                                           ? std::to_string(entry.value)
                                           : textOf(entry.name)});
    }
}
