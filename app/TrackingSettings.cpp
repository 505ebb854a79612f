#include "app/TrackingSettings.h"

#include <QSettings>

namespace {

const char* const kEstimatorKey = "tracking/Estimator";
constexpr EstimatorKind kDefaultEstimator = EstimatorKind::Precise;

} // namespace

TrackingSettings::TrackingSettings() {
    load();
}

TrackingSettings::~TrackingSettings() {
    save();
}

// A name this build does not know, from a hand edit or a later version, reads
// as the default rather than failing the start.
void TrackingSettings::load() {
    const QSettings store;
    bool known = false;
    const EstimatorKind stored =
        estimatorKindFromName(store.value(kEstimatorKey).toString(), known);
    estimator = known ? stored : kDefaultEstimator;
}

// Problems with the file are reported once, by SettingsStorage, which reads
// and writes the same file.
void TrackingSettings::save() {
    QSettings store;
    store.setValue(kEstimatorKey, estimatorKindName(estimator));
    store.sync();
}
