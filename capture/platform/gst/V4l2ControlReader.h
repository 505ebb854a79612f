#pragma once

#include "capture/platform/CameraControls.h"

#include <linux/videodev2.h>

class V4l2Device;

// Asks a device about its controls and turns the driver's answers into
// control records: kind, range, flags and menu entries, but not the value.
class V4l2ControlReader {
public:
    explicit V4l2ControlReader(const V4l2Device& device);

    // The driver's description of the control id, or with
    // V4L2_CTRL_FLAG_NEXT_CTRL set in id, of the next control after it;
    // 0 or the error number.
    int query(uint32_t id, v4l2_query_ext_ctrl& query) const;
    // Fills control from a description. False for what is not offered here:
    // disabled controls, class headings, arrays, compound values and kinds
    // unknown to this interface.
    bool describe(const v4l2_query_ext_ctrl& query, platform::CameraControl& control) const;

private:
    void readMenu(const v4l2_query_ext_ctrl& query, platform::CameraControl& control) const;

    const V4l2Device& device_;
};
