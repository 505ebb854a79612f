#include "app/OutputSettings.h"

#include "app/ResponseSettings.h"

#include <QSettings>

namespace {

const char* const kDefaultHost = "127.0.0.1";

// The key every setting of one output starts with, under "outputs/".
QString keyOf(OutputKind kind) {
    switch (kind) {
    case OutputKind::Opentrack:
        return "outputs/Opentrack";
    case OutputKind::FlightGear:
        return "outputs/FlightGear";
    case OutputKind::Joystick:
        break;
    }
    return "outputs/Joystick";
}

int defaultPort(OutputKind kind) {
    return kind == OutputKind::FlightGear ? kFlightGearDefaultPort : kOpentrackDefaultPort;
}

bool hasAddress(OutputKind kind) {
    return kind != OutputKind::Joystick;
}

const OutputKind kAllKinds[] = {OutputKind::Joystick, OutputKind::Opentrack,
                                OutputKind::FlightGear};

} // namespace

OutputSettings::OutputSettings() {
    load();
}

OutputSettings::~OutputSettings() {
    save();
}

OutputSettings::Choice& OutputSettings::choice(OutputKind kind) {
    return choices[static_cast<size_t>(kind)];
}

// A stored address is taken as it is: a bad one is refused, with a message,
// when its output opens, so the user sees what was wrong with it.
void OutputSettings::load() {
    const QSettings store;
    for (OutputKind kind : kAllKinds) {
        Choice& loaded = choice(kind);
        const QString key = keyOf(kind);
        loaded.enabled = store.value(key, false).toBool();
        if (hasAddress(kind)) {
            loaded.host = store.value(key + "Host", kDefaultHost).toString();
            loaded.port = store.value(key + "Port", defaultPort(kind)).toInt();
        }
    }
    response = ResponseSettings::load(store);
}

// Problems with the file are reported once, by SettingsStorage, which reads
// and writes the same file.
void OutputSettings::save() {
    QSettings store;
    for (OutputKind kind : kAllKinds) {
        const Choice& saved = choice(kind);
        const QString key = keyOf(kind);
        store.setValue(key, saved.enabled);
        if (hasAddress(kind)) {
            store.setValue(key + "Host", saved.host);
            store.setValue(key + "Port", saved.port);
        }
    }
    ResponseSettings::save(store, response);
    store.sync();
}
