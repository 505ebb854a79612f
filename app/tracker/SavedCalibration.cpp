#include "app/tracker/SavedCalibration.h"

#include "app/ResponseSettings.h"

#include <QSettings>

namespace {

// The window's settings store: the tracker names itself differently, so it
// opens the store under the names the window's entry function gives the
// application, and reads the window's keys with the window's defaults.
const char* const kWindowOrganization = "Ruveviv";
const char* const kWindowApplication = "Vizezu Verizuvuz";

QSettings windowStore() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, kWindowOrganization,
                     kWindowApplication);
}

AxisCalibration readAxis(const QSettings& store, const QString& axisName) {
    const AxisCalibration defaults;
    AxisCalibration axis;
    axis.zero = store.value("settings/Zero" + axisName, defaults.zero).toInt();
    axis.minimum = store.value("settings/Min" + axisName, defaults.minimum).toInt();
    axis.maximum = store.value("settings/Max" + axisName, defaults.maximum).toInt();
    axis.inverted = store.value("settings/Invert" + axisName, defaults.inverted).toBool();
    return axis;
}

} // namespace

Calibration savedCalibration() {
    const QSettings store = windowStore();
    Calibration calibration;
    calibration.roll = readAxis(store, "Roll");
    calibration.pitch = readAxis(store, "Pitch");
    return calibration;
}

ResponseShaping savedResponse() {
    return ResponseSettings::load(windowStore());
}
