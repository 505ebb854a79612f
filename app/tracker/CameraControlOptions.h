#pragma once

#include "app/tracker/TrackerOptions.h"
#include "capture/platform/CameraControls.h"

#include <QString>
#include <QTextStream>
#include <QVector>

#include <memory>
#include <vector>

// The controls of the tracker's camera: set before the first frame from the
// values the window remembered for the camera and from --control, and
// listed for --list-controls.
class CameraControlOptions {
public:
    // controls may be null: the source has none.
    CameraControlOptions(std::unique_ptr<platform::CameraControls> controls,
                         const QString& cameraName);

    bool available() const { return controls != nullptr; }

    // Sets the remembered values, each skipped with a line of its own when
    // the camera no longer takes it, then settings in order. Stops at the
    // first setting that names no control, holds no value the control takes
    // or is refused by the camera, with error naming the control.
    bool apply(const QVector<ControlSetting>& settings, QString& error);

    // One line per control, as CameraControlText describes it.
    bool list(QTextStream& out, QString& error);

private:
    bool applyOne(const std::vector<platform::CameraControl>& known, const ControlSetting& setting,
                  QString& error);

    std::unique_ptr<platform::CameraControls> controls;
    const QString cameraName;
};
