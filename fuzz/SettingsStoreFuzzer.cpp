// The settings store fed arbitrary files: whatever value types and strings
// stand under the thirteen keys, loading must give numbers the dock can show,
// the ordering of minimum, zero and maximum must settle, and what is saved
// must load back unchanged.
#include "app/SettingsStorage.h"
#include "app/UiSettingsWindow.h"
#include "fuzz/FuzzSupport.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QSettings>
#include <QSlider>

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

QMainWindow* window = nullptr;
Ui::SettingsWindow* form = nullptr;
SettingsStorage* current = nullptr;
int runCount = 0;

struct Fields {
    int values[11];
    bool flags[2];
    bool operator==(const Fields& other) const {
        return std::equal(std::begin(values), std::end(values), std::begin(other.values)) &&
               flags[0] == other.flags[0] && flags[1] == other.flags[1];
    }
};

Fields fieldsOf(const SettingsStorage& s) {
    return {{s.responseRoll, s.responsePitch, s.zeroRoll, s.zeroPitch, s.minRoll, s.minPitch,
             s.maxRoll, s.maxPitch, s.cameraId, s.fpsId, s.resolutionId},
            {s.invertRoll, s.invertPitch}};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    new QApplication(*argc, *argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ruveviv"));
    QCoreApplication::setApplicationName(QStringLiteral("Vizezu Verizuvuz"));
    window = new QMainWindow;
    form = new Ui::SettingsWindow;
    form->setupUi(window);
    // As in the main window, every slider change runs the handler again, so
    // a correction the handler makes re-enters it.
    for (QSlider* slider : window->findChildren<QSlider*>())
        QObject::connect(slider, &QSlider::valueChanged, slider, [] {
            if (current)
                current->somethingChanged(form);
        });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A folder of its own for every input: QSettings caches the files it has
    // read, and would not notice a rewrite of the same size within its
    // file-time resolution.
    const QString folder = fuzz::scratchFolder() + "/run" + QString::number(++runCount);
    QDir().mkpath(folder + "/Ruveviv");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    fuzz::writeScratchFile("run" + QString::number(runCount) + "/Ruveviv/Vizezu Verizuvuz.conf",
                           data, size);

    Fields saved{};
    {
        SettingsStorage storage;
        current = &storage;
        storage.updateUi(form);
        storage.somethingChanged(form);
        current = nullptr;
        saved = fieldsOf(storage);
    }
    {
        const SettingsStorage reloaded;
        fuzz::require(fieldsOf(reloaded) == saved);
    }
    QDir(folder).removeRecursively();
    return 0;
}
