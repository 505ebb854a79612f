#pragma once

#include "capture/platform/CameraControls.h"

#include <QString>

#include <string>
#include <vector>

// The control values the user changed, per camera, kept in the program's
// settings store under "cameras/": one group per camera, keyed by its name
// and the bus path it is plugged into so that two cameras of the same make
// stay apart, and one key per control, by its name, holding the value as
// CameraControlText writes it.
class CameraControlSettings {
public:
    CameraControlSettings(const QString& cameraName, const std::string& busPath);

    // Saves the value of changed at once, so that it survives a crash.
    void remember(const platform::CameraControl& changed);
    // Forgets the values of these controls, as after "Reset to defaults".
    void forget(const std::vector<platform::CameraControl>& controls);
    // Sets every saved value on controls. A control the camera no longer has,
    // a value it refuses or one out of range is skipped with one line on
    // standard error, never written. Returns how many were set.
    int apply(platform::CameraControls& controls) const;

private:
    const QString cameraName;
    // "cameras/NAME@BUS", both parts escaped.
    const QString group;
};
