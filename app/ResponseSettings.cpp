#include "app/ResponseSettings.h"

#include "output/ProgramName.h"

#include <QSettings>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// One stored value and the range a response allows it.
struct ResponseKey {
    const char* name;
    double AxisResponse::*field;
    double lowest;
    double highest;
};

const ResponseKey kKeys[] = {
    {"DeadZone", &AxisResponse::deadZone, 0, AxisResponse::kMaxDeadZone},
    {"Expo", &AxisResponse::expo, 0, AxisResponse::kMaxExpo},
    {"Limit", &AxisResponse::limit, AxisResponse::kMinLimit, AxisResponse::kMaxLimit},
};

void warnAbout(const QSettings& store, const QString& key, const QString& stored, double used) {
    std::fprintf(stderr, "%s: settings file %s: %s=%s is out of range; using %g\n",
                 qPrintable(programName()), qPrintable(store.fileName()), qPrintable(key),
                 qPrintable(stored), used);
}

// Something that is not a finite number gives the default rather than an
// end of the range: nothing in it says which end was meant.
double readValue(const QSettings& store, const QString& key, const ResponseKey& range,
                 double defaultValue) {
    if (!store.contains(key))
        return defaultValue;
    const QString stored = store.value(key).toString();
    bool isNumber = false;
    const double value = stored.toDouble(&isNumber);
    const double used = !isNumber || !std::isfinite(value)
                            ? defaultValue
                            : std::clamp(value, range.lowest, range.highest);
    if (used != value)
        warnAbout(store, key, stored, used);
    return used;
}

AxisResponse loadAxis(const QSettings& store, const QString& axisName) {
    const AxisResponse defaults;
    AxisResponse axis;
    for (const ResponseKey& key : kKeys)
        axis.*key.field =
            readValue(store, "outputs/" + axisName + key.name, key, defaults.*key.field);
    return axis;
}

void saveAxis(QSettings& store, const QString& axisName, const AxisResponse& axis) {
    for (const ResponseKey& key : kKeys)
        store.setValue("outputs/" + axisName + key.name, axis.*key.field);
}

} // namespace

ResponseShaping ResponseSettings::load(const QSettings& store) {
    ResponseShaping response;
    response.roll = loadAxis(store, "Roll");
    response.pitch = loadAxis(store, "Pitch");
    return response;
}

void ResponseSettings::save(QSettings& store, const ResponseShaping& response) {
    saveAxis(store, "Roll", response.roll);
    saveAxis(store, "Pitch", response.pitch);
}
