#include "app/tracker/CameraControlOptions.h"

#include "app/CameraControlSettings.h"
#include "capture/CameraControlText.h"

#include <QCoreApplication>

#include <algorithm>

using platform::CameraControl;

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("CameraControlOptions", text);
}

} // namespace

CameraControlOptions::CameraControlOptions(std::unique_ptr<platform::CameraControls> controls,
                                           const QString& cameraName)
    : controls(std::move(controls))
    , cameraName(cameraName) {}

bool CameraControlOptions::apply(const QVector<ControlSetting>& settings, QString& error) {
    CameraControlSettings(cameraName, controls->busPath()).apply(*controls);
    if (settings.isEmpty()) {
        return true;
    }
    std::vector<CameraControl> known;
    if (!platform::succeeded(controls->list(known))) {
        error = tr("the camera's controls cannot be read");
        return false;
    }
    return std::all_of(settings.begin(), settings.end(), [&](const ControlSetting& setting) {
        return applyOne(known, setting, error);
    });
}

bool CameraControlOptions::applyOne(const std::vector<CameraControl>& known,
                                    const ControlSetting& setting, QString& error) {
    const auto found =
        std::find_if(known.begin(), known.end(), [&setting](const CameraControl& control) {
            return CameraControlText::matches(control, setting.name);
        });
    if (found == known.end()) {
        error = tr("camera control \"%1\" not found (see --list-controls)").arg(setting.name);
        return false;
    }
    CameraControl wanted;
    if (!CameraControlText::parse(*found, setting.value, wanted, error)) {
        return false;
    }
    if (!platform::succeeded(controls->write(wanted))) {
        error = tr("%1: the camera refused the value \"%2\"")
                    .arg(QString::fromStdString(found->name), setting.value);
        return false;
    }
    return true;
}

bool CameraControlOptions::list(QTextStream& out, QString& error) {
    std::vector<CameraControl> all;
    if (!platform::succeeded(controls->list(all))) {
        error = tr("the camera's controls cannot be read");
        return false;
    }
    for (const CameraControl& control : all) {
        out << CameraControlText::describe(control) << '\n';
    }
    out.flush();
    return true;
}
